# The distribution medium of the sample package: the programs beside the
# package's files, as a vendor would put them on a disc.
set(MEDIUM_DIR ${CMAKE_SOURCE_DIR}/build/medium CACHE PATH "Where the medium is assembled")
set(SETUP64_EXE "" CACHE FILEPATH "Setup64.exe from the x86_64 build")

set(MEDIUM_PROGRAMS $<TARGET_FILE:Setup>)
if(TARGET install_program)
  list(APPEND MEDIUM_PROGRAMS $<TARGET_FILE:install_program>)
  set(MEDIUM_DEPENDS install_program)
endif()
# The package's own program and component (examples/).
if(TARGET CardTool)
  list(APPEND MEDIUM_PROGRAMS $<TARGET_FILE:CardTool> $<TARGET_FILE:CardReg>)
  list(APPEND MEDIUM_DEPENDS CardTool CardReg)
endif()

add_custom_target(medium
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${MEDIUM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/examples/sample-package ${MEDIUM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${MEDIUM_PROGRAMS} ${MEDIUM_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MEDIUM_DIR}/x64
  COMMAND ${CMAKE_COMMAND} -E copy ${SETUP64_EXE} ${MEDIUM_DIR}/x64/Setup64.exe
  DEPENDS Setup ${MEDIUM_DEPENDS}
  COMMENT "Assembling the medium in ${MEDIUM_DIR}"
  VERBATIM)
