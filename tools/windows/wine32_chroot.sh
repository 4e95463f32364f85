#!/bin/sh
# The emulator of the 32-bit Windows test build (CMAKE_CROSSCOMPILING_EMULATOR):
# runs "wine PROGRAM ARGS..." with the 32-bit Wine of the throwaway Debian
# root that tools/windows/wine32_root.sh makes, in the same working folder,
# so that ctest on the build machine runs every test program in the root.
# The environment passes through (WINEPREFIX, DISPLAY, WINEDEBUG...).
# MARROWFIELD_WINE32_ROOT names the root; tools/windows/wine32_tests.sh sets
# it and bind-mounts the source and build trees into the root at their own
# paths before ctest starts.
set -eu
root=${MARROWFIELD_WINE32_ROOT:-}
if [ -z "$root" ] || [ ! -x "${root}/usr/lib/wine/wine" ]; then
  echo "wine32_chroot.sh: MARROWFIELD_WINE32_ROOT names no root with 32-bit Wine (run tools/windows/wine32_tests.sh)" >&2
  exit 127
fi
# chroot starts in the root's "/": back to the caller's folder, which the
# bind mount shows at the same path inside.
# shellcheck disable=SC2016 # the inner shell expands its own arguments
exec chroot "$root" /bin/sh -c 'cd "$1" && shift && exec /usr/lib/wine/wine "$@"' \
  wine32 "$PWD" "$@"
