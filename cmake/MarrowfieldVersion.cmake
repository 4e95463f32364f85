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
# DESCRIPTION is the module's one-line description. Call it after the
# target's OUTPUT_NAME, PREFIX and SUFFIX are set: the resource names the
# file as built.
function(marrowfield_version_resource target description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(MARROWFIELD_RC_FILE_TYPE VFT_APP)
    set(default_prefix "")
    set(default_suffix ${CMAKE_EXECUTABLE_SUFFIX})
  else()
    set(MARROWFIELD_RC_FILE_TYPE VFT_DLL)
    set(default_prefix ${CMAKE_SHARED_LIBRARY_PREFIX})
    set(default_suffix ${CMAKE_SHARED_LIBRARY_SUFFIX})
  endif()
  foreach(part OUTPUT_NAME PREFIX SUFFIX)
    get_target_property(${part} ${target} ${part})
  endforeach()
  if(NOT OUTPUT_NAME)
    set(OUTPUT_NAME ${target})
  endif()
  if(PREFIX STREQUAL "PREFIX-NOTFOUND")
    set(PREFIX "${default_prefix}")
  endif()
  if(SUFFIX STREQUAL "SUFFIX-NOTFOUND")
    set(SUFFIX "${default_suffix}")
  endif()
  set(MARROWFIELD_RC_INTERNAL_NAME "${OUTPUT_NAME}")
  set(MARROWFIELD_RC_FILE_NAME "${PREFIX}${OUTPUT_NAME}${SUFFIX}")
  set(MARROWFIELD_RC_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${MARROWFIELD_VERSION_RC_TEMPLATE} ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# Versions the Linux shared library |target| (file name with the whole
# version, SONAME with the major one: its exported functions are a fixed
# contract, so programs built against one release run with any later
# release of the same major) and installs it with its public |header|: the
# library in the runtime component, the development symlink and the header
# in dev, the target in the CMake package's export set.
function(marrowfield_install_library target header)
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
  install(TARGETS ${target} EXPORT MarrowfieldTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
      COMPONENT runtime NAMELINK_COMPONENT dev)
  install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)
endfunction()
