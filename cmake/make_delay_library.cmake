# Makes a delay-load import library from a mingw-w64 import library: every
# function it imports, under the same DLL name.
#   cmake -DNM=... -DDLLTOOL=... -DOBJCOPY=... -DIMPORT_LIB=lib<name>.a -DOUTPUT=lib<name>_delay.a
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
set(thunks "")
foreach(import ${imports})
  string(REPLACE " I ${import_prefix}" "" name "${import}")
  string(APPEND exports "${name}\n")
  if(DECORATED)
    string(APPEND thunks "_${name}\n")
  else()
    string(APPEND thunks "${name}\n")
  endif()
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
# Each function's member holds, in one code section, a "jmp *__imp_<name>"
# thunk named <name> and the load stub that its slot points to. The i686
# linker drops such a section as a dead import thunk when nothing calls
# <name> directly (the code calls through __imp_<name>), and the slot is then
# written as 0: the first call jumps to address 0. With the thunk names local,
# the section is kept; the x86_64 linker keeps it anyway, and the programs
# call every function through its slot. A direct call would not link.
set(thunk_list ${dir}/${stem}.thunks)
file(WRITE ${thunk_list} "${thunks}")
execute_process(COMMAND ${OBJCOPY} --localize-symbols=${thunk_list} ${OUTPUT}
  COMMAND_ERROR_IS_FATAL ANY)
