#!/usr/bin/env bash
# Builds GoogleTest for Windows with MinGW-w64 from the sources Debian's
# googletest package installs in /usr/src/googletest, and installs it into
# the cache ($MARROWFIELD_CACHE/googletest-mingw-<arch>, MARROWFIELD_CACHE
# defaulting to /var/cache/marrowfield) where the MinGW toolchain file
# finds it, for the MinGW-w64 target MARROWFIELD_MINGW_TRIPLE (default
# x86_64-w64-mingw32; i686-w64-mingw32 for the 32-bit tests). A stamp
# records what was built; a later run with the same inputs does nothing.
set -euo pipefail

readonly SCRIPT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly TRIPLE=${MARROWFIELD_MINGW_TRIPLE:-x86_64-w64-mingw32}
readonly ARCH=${TRIPLE%%-*}
readonly TOOLCHAIN=$(cd "${SCRIPT_DIR}/../../cmake" && pwd)/mingw-w64-${ARCH}.cmake
readonly CACHE_ROOT=${MARROWFIELD_CACHE:-/var/cache/marrowfield}
readonly PREFIX=${CACHE_ROOT}/googletest-mingw-${ARCH}
readonly SOURCE=${GOOGLETEST_SOURCE:-/usr/src/googletest}
readonly JOBS=${MARROWFIELD_JOBS:-2}

die() { echo "build_googletest_mingw: error: $*" >&2; exit 1; }
note() { echo "build_googletest_mingw: $*" >&2; }

[[ -f ${SOURCE}/CMakeLists.txt ]] ||
  die "no GoogleTest sources in ${SOURCE} (Debian package googletest)"
[[ -f $TOOLCHAIN ]] || die "no toolchain file for ${TRIPLE}: ${TOOLCHAIN}"
command -v "${TRIPLE}-g++-posix" >/dev/null ||
  die "missing ${TRIPLE}-g++-posix (g++-mingw-w64-${ARCH//_/-}-posix)"

mkdir -p "$CACHE_ROOT"
exec 9>"${CACHE_ROOT}/googletest-mingw.lock"
flock 9

stamp_text() {
  echo "googletest: $(dpkg-query -W -f='${Version}' googletest 2>/dev/null ||
                      echo unknown)"
  echo "compiler: $("${TRIPLE}-g++-posix" --version | head -n 1)"
  echo "script: $(sha256sum "${BASH_SOURCE[0]}" | cut -d' ' -f1)"
  echo "toolchain: $(sha256sum "$TOOLCHAIN" | cut -d' ' -f1)"
}

if [[ -f ${PREFIX}/STAMP && -f ${PREFIX}/lib/libgtest.a ]] &&
   [[ "$(cat "${PREFIX}/STAMP")" == "$(stamp_text)" ]]; then
  note "cached build is current: ${PREFIX}"
  echo "$PREFIX"
  exit 0
fi

WORK=$(mktemp -d "${CACHE_ROOT}/googletest-build.XXXXXX")
readonly WORK
trap 'rm -rf "$WORK"' EXIT

note "building GoogleTest from ${SOURCE}"
cmake -S "$SOURCE" -B "${WORK}/build" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON \
  -DCMAKE_INSTALL_PREFIX="${WORK}/stage" >"${WORK}/configure.log" 2>&1 ||
  { tail -n 30 "${WORK}/configure.log" >&2; die "configure failed"; }
cmake --build "${WORK}/build" -j "$JOBS" >"${WORK}/build.log" 2>&1 ||
  { tail -n 30 "${WORK}/build.log" >&2; die "build failed"; }
cmake --install "${WORK}/build" >"${WORK}/install.log" 2>&1 ||
  { tail -n 30 "${WORK}/install.log" >&2; die "install failed"; }
[[ -f ${WORK}/stage/lib/libgtest.a ]] || die "libgtest.a was not built"

stamp_text >"${WORK}/stage/STAMP"
rm -rf "${PREFIX}.old"
[[ -d $PREFIX ]] && mv "$PREFIX" "${PREFIX}.old"
mv "${WORK}/stage" "$PREFIX"
rm -rf "${PREFIX}.old"
note "installed into ${PREFIX}"
echo "$PREFIX"
