# Toolchain for the 32-bit Windows add-in (for 32-bit Excel), built on Linux
# with Debian's i686 MinGW-w64 (posix thread model), linked statically like
# the 64-bit one. Flite and GoogleTest for i686 come from the cache that
# tools/windows/build_flite_mingw.sh and build_googletest_mingw.sh fill with
# MARROWFIELD_MINGW_TRIPLE=i686-w64-mingw32.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(MARROWFIELD_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${MARROWFIELD_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MARROWFIELD_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MARROWFIELD_MINGW_TRIPLE}-windres)

if(DEFINED ENV{MARROWFIELD_CACHE})
  set(MARROWFIELD_CACHE_DIR "$ENV{MARROWFIELD_CACHE}")
else()
  set(MARROWFIELD_CACHE_DIR /var/cache/marrowfield)
endif()

set(CMAKE_FIND_ROOT_PATH
  /usr/${MARROWFIELD_MINGW_TRIPLE}
  ${MARROWFIELD_CACHE_DIR}/flite-mingw-i686
  ${MARROWFIELD_CACHE_DIR}/googletest-mingw-i686)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
