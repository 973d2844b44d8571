# Makes a delay-load import library from a mingw-w64 import library: every
# function it imports, under the same DLL name.
#   cmake -DNM=... -DDLLTOOL=... -DIMPORT_LIB=lib<name>.a -DOUTPUT=lib<name>_delay.a
#         -DDECORATED=<1 on i686, where stdcall names carry "_" and "@n"> -P make_delay_library.cmake
execute_process(COMMAND ${DLLTOOL} --identify ${IMPORT_LIB}
  OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${NM} ${IMPORT_LIB}
  OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)

if(DECORATED)
  set(import_prefix "__imp__")
else()
  set(import_prefix "__imp_")
endif()
string(REGEX MATCHALL " I ${import_prefix}[^\n]+" imports "${symbols}")
set(exports "")
foreach(import ${imports})
  string(REPLACE " I ${import_prefix}" "" name "${import}")
  string(APPEND exports "${name}\n")
endforeach()
if(exports STREQUAL "")
  message(FATAL_ERROR "${IMPORT_LIB} imports nothing")
endif()

get_filename_component(dir ${OUTPUT} DIRECTORY)
get_filename_component(stem ${OUTPUT} NAME_WE)
set(def ${dir}/${stem}.def)
file(MAKE_DIRECTORY ${dir})
file(WRITE ${def} "LIBRARY \"${dll}\"\nEXPORTS\n${exports}")
# --kill-at: the DLL exports "MessageBoxW" where the i686 code calls "_MessageBoxW@16".
execute_process(COMMAND ${DLLTOOL} --kill-at --input-def ${def} --dllname ${dll} --output-delaylib ${OUTPUT}
  COMMAND_ERROR_IS_FATAL ANY)
