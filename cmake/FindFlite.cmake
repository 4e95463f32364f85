# Finds Flite's core library and its CMU US-English lexicon and defines the
# imported target Flite::Flite. Debian ships them in flite1-dev.
find_path(FLITE_INCLUDE_DIR flite/flite.h)
find_library(FLITE_LIBRARY flite)
find_library(FLITE_CMULEX_LIBRARY flite_cmulex)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Flite
  REQUIRED_VARS FLITE_LIBRARY FLITE_CMULEX_LIBRARY FLITE_INCLUDE_DIR)

if(Flite_FOUND AND NOT TARGET Flite::Flite)
  add_library(Flite::Flite INTERFACE IMPORTED)
  set_target_properties(Flite::Flite PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${FLITE_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${FLITE_CMULEX_LIBRARY};${FLITE_LIBRARY};m")
endif()
mark_as_advanced(FLITE_INCLUDE_DIR FLITE_LIBRARY FLITE_CMULEX_LIBRARY)
