# Toolchain for building the Windows add-in and its tests on Linux with
# Debian's MinGW-w64 (posix thread model). Programs are linked statically,
# so they need no MinGW runtime DLLs beside them, and ctest runs them under
# Wine. Flite and GoogleTest for Windows come from the cache that
# tools/windows/build_flite_mingw.sh and build_googletest_mingw.sh fill
# ($MARROWFIELD_CACHE, /var/cache/marrowfield by default).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MARROWFIELD_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MARROWFIELD_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MARROWFIELD_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MARROWFIELD_MINGW_TRIPLE}-windres)

if(DEFINED ENV{MARROWFIELD_CACHE})
  set(MARROWFIELD_CACHE_DIR "$ENV{MARROWFIELD_CACHE}")
else()
  set(MARROWFIELD_CACHE_DIR /var/cache/marrowfield)
endif()

# Libraries and headers only from the MinGW sysroot and the cached Windows
# builds, never from the Linux system.
set(CMAKE_FIND_ROOT_PATH
  /usr/${MARROWFIELD_MINGW_TRIPLE}
  ${MARROWFIELD_CACHE_DIR}/flite-mingw-x86_64
  ${MARROWFIELD_CACHE_DIR}/googletest-mingw-x86_64)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Debian's wine64 package installs the loader outside PATH.
find_program(MARROWFIELD_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(MARROWFIELD_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MARROWFIELD_WINE})
endif()
