# The distribution medium of the sample package: the programs beside the
# package's files, as a vendor would put them on a disc (scripts/medium-layout,
# which scripts/medium also uses for a vendor's own package folder).
set(MEDIUM_DIR ${CMAKE_SOURCE_DIR}/build/medium CACHE PATH "Where the medium is assembled")
set(SETUP64_EXE "" CACHE FILEPATH "Setup64.exe from the x86_64 build")

add_custom_target(medium
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/medium-layout ${MEDIUM_DIR} ${CMAKE_SOURCE_DIR}/examples/sample-package
    $<TARGET_FILE:install_program> $<TARGET_FILE:Setup> ${SETUP64_EXE}
    # The package's own program and component (examples/).
    $<TARGET_FILE:CardTool> $<TARGET_FILE:CardReg>
  DEPENDS install_program Setup CardTool CardReg
  COMMENT "Assembling the medium in ${MEDIUM_DIR}"
  VERBATIM)
