# The Debian packages, made by cpack from the install components:
#   marrowfield          the engine library and the marrowfield program
#   libmarrowfield-dev   header, pkg-config and CMake files
#   python3-marrowfield  the Python package over the installed library
#   postgresql-NN-marrowfield  the PostgreSQL extension for server NN
# Run `cpack -G DEB` in the build folder; the packages land in
# <build>/packages/. The dependencies on other Debian packages are read
# from the binaries by dpkg-shlibdeps; only those among our own packages
# are stated here.

# The change log's newest entry must be this release, so that the version
# a package states and the one its change log records never part.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog changelog_head
  LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^marrowfield \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog does not start with an "
    "entry for ${PROJECT_VERSION}: add one for the new version")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marrowfield)
set(CPACK_PACKAGE_VENDOR "Marrowfield Labs")
set(CPACK_PACKAGE_CONTACT "Marrowfield Labs <help@marrowfield.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.marrowfield.example")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${MARROWFIELD_COMPONENTS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The control files taken from packaging/debian/ (triggers, maintainer
# scripts) get 0644, scripts 0755, instead of the modes the checkout gave
# them: a clone under umask 002 has them group-writable, which lintian
# rejects (control-file-has-bad-permissions).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

foreach(component ${MARROWFIELD_COMPONENTS})
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${MARROWFIELD_PACKAGE_${component}})
endforeach()

set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION text)
# The shlibs file tells packages built against the library what to depend on.
# (cpack warns that the PostgreSQL extension's module has no SONAME: it is a
# module the server loads, not a library to link, and rightly gets no
# shlibs entry; the setting is one for all packages.)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_SOURCE_DIR}/debian/marrowfield/triggers)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
  "phonetic name matching: library and command-line program
Marrowfield finds words and names that sound alike. It transcribes words
with the CMU pronouncing lexicon (through Flite), aligns their phones and
scores their similarity from 0 to 100 percent.

This package holds the library libmarrowfield, its fixed engine
interface libMarrowfieldExcel and the marrowfield program, which
searches CSV and XLSX files, finds duplicates and links between lists,
compares words and shows their phones and codes.")

set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_DEV_DESCRIPTION
  "phonetic name matching: development files
Marrowfield finds words and names that sound alike.

This package holds the C headers marrowfield_api.h and marrowfield.h,
the pkg-config file marrowfield.pc and the CMake package
(find_package(Marrowfield), targets Marrowfield::marrowfield and
Marrowfield::MarrowfieldExcel) for programs using the libraries.")

set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_ARCHITECTURE all)
set(CPACK_COMPONENT_PYTHON_DEPENDS runtime)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3:any")
set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_SOURCE_DIR}/debian/python3-marrowfield/postinst
  ${CMAKE_CURRENT_SOURCE_DIR}/debian/python3-marrowfield/prerm)
set(CPACK_COMPONENT_PYTHON_DESCRIPTION
  "phonetic name matching: Python 3 package
Marrowfield finds words and names that sound alike.

This package holds the Python module marrowfield (compare, phones, code,
similar, match) over the installed engine library.")

if(postgresql IN_LIST MARROWFIELD_COMPONENTS)
  set(CPACK_DEBIAN_POSTGRESQL_PACKAGE_SECTION database)
  # The module's calls into the server (palloc, ereport, the function
  # manager) are resolved by the postgres program itself when it loads the
  # module, and a program is no shared library: dpkg-shlibdeps sees only the
  # libraries the module links (ours and libc) and cannot know the
  # server, so that dependency is stated here. The module links the
  # product library libmarrowfield.so.0, which the runtime package ships:
  # the same release of it, as for the Python package.
  set(CPACK_COMPONENT_POSTGRESQL_DEPENDS runtime)
  # That library is another package's file, not on this machine:
  # dpkg-shlibdeps finds it in the build to read the module's other needs.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${PROJECT_BINARY_DIR}/library)
  set(CPACK_DEBIAN_POSTGRESQL_PACKAGE_DEPENDS
    "postgresql-${MARROWFIELD_POSTGRES_MAJOR}")
  set(CPACK_COMPONENT_POSTGRESQL_DESCRIPTION
    "phonetic name matching: PostgreSQL ${MARROWFIELD_POSTGRES_MAJOR} extension
Marrowfield finds words and names that sound alike.

This package holds the PostgreSQL extension marrowfield (CREATE EXTENSION
marrowfield): the functions marrowfield_score, marrowfield_phones,
marrowfield_code, marrowfield_match and marrowfield_keys, the sounds-like
operator %~ and the GIN operator class marrowfield_gin_ops that indexes it.")
endif()

include(CPack)
