# Delay-load import libraries, made from mingw-w64's own import libraries.
# A program linked against them imports only what it links normally (KERNEL32
# and the C runtime) and loads each delay-loaded DLL by name at its first call,
# that is after its entry has restricted the DLL search to the system
# directory. The code keeps its ordinary calls.
set(DELAY_LOAD_DIR ${CMAKE_BINARY_DIR}/delay-load)

# delay_load_library(<name>)
#   Defines the target delay_<name>, which links lib<name>_delay.a in place
#   of the import library lib<name>.a (user32, shell32, ...).
function(delay_load_library name)
  if(TARGET delay_${name})
    return()
  endif()
  find_library(DELAY_IMPORT_LIB_${name} ${name} REQUIRED)
  set(output ${DELAY_LOAD_DIR}/lib${name}_delay.a)
  if(TARGET_IS_64BIT)
    set(decorated 0)
  else()
    set(decorated 1)
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL} -DOBJCOPY=${CMAKE_OBJCOPY}
      -DIMPORT_LIB=${DELAY_IMPORT_LIB_${name}} -DOUTPUT=${output}
      -DDECORATED=${decorated}
      -P ${CMAKE_SOURCE_DIR}/cmake/make_delay_library.cmake
    DEPENDS ${DELAY_IMPORT_LIB_${name}} ${CMAKE_SOURCE_DIR}/cmake/make_delay_library.cmake
    COMMENT "Delay-load import library for ${name}"
    VERBATIM)
  add_custom_target(delay_${name}_library DEPENDS ${output})
  add_library(delay_${name} INTERFACE)
  target_link_libraries(delay_${name} INTERFACE ${output})
  # Followed by every target that links delay_${name}.
  add_dependencies(delay_${name} delay_${name}_library)
endfunction()

# target_link_delay_loaded(<target> <PUBLIC|PRIVATE|INTERFACE> <name>...)
#   Links the named system DLLs to target as delay-loaded ones.
function(target_link_delay_loaded target scope)
  foreach(name ${ARGN})
    delay_load_library(${name})
    target_link_libraries(${target} ${scope} delay_${name})
  endforeach()
endfunction()
