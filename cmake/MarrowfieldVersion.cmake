# The one version of every Marrowfield artifact: project()'s VERSION at the
# top of the tree. This module hands it to the code as a generated header
# (target marrowfield_version) and to Windows modules as a version resource,
# so that nothing else in the tree spells the number out.

set(MARROWFIELD_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/marrowfield_version.h.in
  ${MARROWFIELD_GENERATED_DIR}/marrowfield_version.h @ONLY)

# Header-only: link it to reach marrowfield_version.h.
add_library(marrowfield_version INTERFACE)
target_include_directories(marrowfield_version INTERFACE
  ${MARROWFIELD_GENERATED_DIR})

set(MARROWFIELD_VERSION_RC_TEMPLATE
  ${CMAKE_CURRENT_LIST_DIR}/version_info.rc.in)

# Gives the Windows module |target| a VERSIONINFO resource with the
# project's version, so that Explorer's file properties show it.
# FILE_NAME is the module's file name as shipped, DESCRIPTION its one-line
# description; the file type follows from the target's type.
function(marrowfield_version_resource target file_name description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(MARROWFIELD_RC_FILE_TYPE VFT_APP)
  else()
    set(MARROWFIELD_RC_FILE_TYPE VFT_DLL)
  endif()
  get_filename_component(MARROWFIELD_RC_INTERNAL_NAME ${file_name} NAME_WE)
  set(MARROWFIELD_RC_FILE_NAME "${file_name}")
  set(MARROWFIELD_RC_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${MARROWFIELD_VERSION_RC_TEMPLATE} ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
