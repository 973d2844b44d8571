# Flags shared by the shipped programs and the code libraries they are made of:
# small code, no exceptions or RTTI, unused sections dropped at link time.
add_library(win32_product_flags INTERFACE)
target_compile_options(win32_product_flags INTERFACE
  -Os -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections
  -Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
target_compile_definitions(win32_product_flags INTERFACE
  WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601 STRSAFE_NO_DEPRECATE)

# Every shipped program and test program is linked statically, so that it
# imports only DLLs that every Windows has.
set(WIN32_STATIC_LINK_FLAGS -static -static-libgcc -static-libstdc++)

# Every program that goes on a medium is read back after it is linked: a call
# into a DLL whose slot the loader or a load stub cannot fill fails the build
# (the i686 linker once wrote delay-load slots as 0 without a warning).
find_program(PYTHON3 python3 REQUIRED)
function(check_program_imports target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/check-imports --quiet --objdump ${CMAKE_OBJDUMP}
      $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

# win32_program(<target> [UNICODE])
#   Turns an executable target into a shipped GUI program: statically linked,
#   stripped, without a console window.
function(win32_program target)
  cmake_parse_arguments(ARG "UNICODE" "" "" ${ARGN})
  target_link_libraries(${target} PRIVATE win32_product_flags)
  target_link_options(${target} PRIVATE ${WIN32_STATIC_LINK_FLAGS} -mwindows -s -Wl,--gc-sections)
  if(ARG_UNICODE)
    target_link_options(${target} PRIVATE -municode)
  endif()
  check_program_imports(${target})
endfunction()

# Converts a host path into the path a Wine program sees (drive Z: is the root).
function(wine_path out host_path)
  string(REPLACE "/" "\\" p "${host_path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()

# The same, written as the body of a C string literal (backslashes doubled).
function(wine_path_literal out host_path)
  wine_path(p "${host_path}")
  string(REPLACE "\\" "\\\\" p "${p}")
  set(${out} "${p}" PARENT_SCOPE)
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/delay_load.cmake)
