# install.rc and everything it pulls in. windres writes no dependency list,
# so a target that compiles install.rc must name these files to be rebuilt
# when a text, dialog, icon or the manifest changes.
set(INSTALL_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(INSTALL_RESOURCE_INPUTS
  ${INSTALL_RESOURCE_DIR}/resource_ids.h
  ${INSTALL_RESOURCE_DIR}/install_en.rc
  ${INSTALL_RESOURCE_DIR}/install_ja.rc
  ${INSTALL_RESOURCE_DIR}/install_zh.rc
  ${INSTALL_RESOURCE_DIR}/install.manifest
  ${INSTALL_RESOURCE_DIR}/icons/program.ico
  ${INSTALL_RESOURCE_DIR}/icons/uninstall.ico
  ${INSTALL_RESOURCE_DIR}/icons/caution.ico)

# target_install_resources(<target>)
#   Links install's resources (catalogue, dialogs, icons, version, manifest)
#   into target.
function(target_install_resources target)
  target_sources(${target} PRIVATE ${INSTALL_RESOURCE_DIR}/install.rc)
  target_include_directories(${target} PRIVATE ${INSTALL_RESOURCE_DIR})
  set_source_files_properties(${INSTALL_RESOURCE_DIR}/install.rc PROPERTIES
    OBJECT_DEPENDS "${INSTALL_RESOURCE_INPUTS}")
endfunction()
