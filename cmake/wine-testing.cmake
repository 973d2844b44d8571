# Test programs are Windows executables; ctest runs them through Wine in a
# prefix that the test run creates (the fixture "wine_prefix" below).
set(WINE_TEST_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

enable_testing()

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_test(NAME wine_prefix
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix create ${WINE_TEST_PREFIX})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
add_test(NAME wine_shutdown
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix stop ${WINE_TEST_PREFIX})
set_tests_properties(wine_shutdown PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# add_wine_test(<name> SOURCES ... [LIBRARIES ...] [LOCKS ...] [ENVIRONMENT ...] [TIMEOUT s])
#   A GoogleTest program run as one ctest test inside the test prefix.
#   LOCKS names shared things (the spooler, the driver mutex, ...) that tests
#   must not use at the same time.
function(add_wine_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBRARIES;LOCKS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} gtest gtest_main)
  target_link_options(${name} PRIVATE ${WIN32_STATIC_LINK_FLAGS})
  add_wine_test_run(${name} ${name} ${ARGN})
endfunction()

# add_wine_test_run(<name> <test program> [FILTER pattern] [LOCKS ...] [ENVIRONMENT ...] [TIMEOUT s])
#   One more ctest test that runs a test program of add_wine_test, for example
#   a part of it under another locale.
function(add_wine_test_run name program)
  cmake_parse_arguments(ARG "" "TIMEOUT;FILTER" "SOURCES;LIBRARIES;LOCKS;ENVIRONMENT" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(args)
  if(ARG_FILTER)
    list(APPEND args --gtest_filter=${ARG_FILTER})
  endif()
  # The report path is handed to a Windows program, so it is given as Wine sees it.
  wine_path(report "${CMAKE_BINARY_DIR}/test-reports/${name}.xml")
  add_test(NAME ${name} COMMAND ${program} ${args} --gtest_output=xml:${report})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${ARG_TIMEOUT})
  if(ARG_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${ARG_LOCKS}")
  endif()
  if(ARG_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
endfunction()
