#!/usr/bin/env bash
# The 32-bit add-in run, not only built: its Windows tests under 32-bit Wine.
# Debian's wine32 needs the i386 architecture, and adding that here would
# upgrade the build machine's own libraries, so Wine runs in a throwaway
# Debian 12 root instead (tools/windows/wine32_root.sh; made once, cached
# under $MARROWFIELD_CACHE). On a Debian 12 machine, as root:
#  1. installs what the build machine needs (i686 MinGW-w64, debootstrap);
#  2. records the machine's packages, to compare at the end;
#  3. makes or reuses the root (Wine, wine32, Xvfb, xauth inside only);
#  4. builds Flite and GoogleTest for i686 into the cache, the native
#     library's reference answers, and the 32-bit XLL, fake XLCALL32.DLL,
#     installer, fake Excel COM server and Windows tests in
#     build-windows32/, with tools/windows/wine32_chroot.sh as the emulator
#     through which ctest runs each program in the root;
#  5. bind-mounts /proc, /dev, a fresh /tmp and the source tree into the
#     root, starts the root's Xvfb and wineserver, makes a fresh
#     WINEPREFIX there and runs the tests through ctest on this machine;
#  6. ends Wine and Xvfb and takes every mount down again (also on failure
#     or interruption), then fails if the machine's packages changed.
# Environment: MARROWFIELD_JOBS, MARROWFIELD_NATIVE_BUILD (default build/),
# MARROWFIELD_WINDOWS_BUILD_32_TESTS (default build-windows32/),
# MARROWFIELD_CACHE, MARROWFIELD_DEBIAN_MIRROR (the root's mirror).
set -euo pipefail
cd "$(dirname "$0")/../.."
readonly ROOT=$PWD

readonly JOBS=${MARROWFIELD_JOBS:-$(nproc)}
readonly BUILD=${MARROWFIELD_WINDOWS_BUILD_32_TESTS:-${ROOT}/build-windows32}
readonly NATIVE_BUILD=${MARROWFIELD_NATIVE_BUILD:-${ROOT}/build}
readonly CACHE=${MARROWFIELD_CACHE:-/var/cache/marrowfield}
readonly STARTED=$SECONDS
export MARROWFIELD_JOBS=$JOBS MARROWFIELD_CACHE=$CACHE

trap 'echo "tools/windows/wine32_tests.sh: FAILED (line ${LINENO}: ${BASH_COMMAND})" >&2' ERR
step() { echo "== [$((SECONDS - STARTED))s] $* =="; }

[[ $(id -u) -eq 0 ]] || { echo "$0: needs root (chroot, mount)" >&2; exit 1; }

step "Packages of the build machine"
packages=(
  cmake make g++ pkg-config
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  googletest flite1-dev libgtest-dev
  debootstrap               # the throwaway root that runs 32-bit Wine
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null |
    grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends "${missing[@]}"
fi
# From here on nothing may change them: the root keeps Wine to itself.
list_packages() {
  dpkg-query -W -f='${binary:Package} ${Version} ${db:Status-Abbrev}\n' | sort
}
PACKAGES_BEFORE=$(list_packages)
readonly PACKAGES_BEFORE

# One run at a time: runs share the root and its mount points, and a run
# may take down the mounts an interrupted one left.
exec 8>"${CACHE}/wine32-run.lock"
flock 8

step "The 32-bit Wine root"
WINE32_ROOT=$(bash tools/windows/wine32_root.sh | tail -n 1)
readonly WINE32_ROOT
export MARROWFIELD_WINE32_ROOT=$WINE32_ROOT
# Mounts a killed run (kill -9, power) could not take down.
while read -r _ point _; do
  if [[ $point == "${WINE32_ROOT}"/* ]]; then
    echo "taking down a mount left by an earlier run: ${point}" >&2
    umount -l "$point"
  fi
done < <(tac /proc/mounts)

step "Flite and GoogleTest for 32-bit Windows"
MARROWFIELD_MINGW_TRIPLE=i686-w64-mingw32 bash tools/windows/build_flite_mingw.sh
MARROWFIELD_MINGW_TRIPLE=i686-w64-mingw32 bash tools/windows/build_googletest_mingw.sh

step "Native build (${NATIVE_BUILD})"
if [[ ! -f ${NATIVE_BUILD}/CMakeCache.txt ]]; then
  cmake -S . -B "$NATIVE_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null ||
    { echo "native configure failed; run tools/setup.sh first" >&2; false; }
fi

step "Configure and build for 32-bit Windows (${BUILD})"
source tools/windows/i686_build.sh
configure_i686_build "$BUILD" "$NATIVE_BUILD"
cmake --build "$BUILD" -j "$JOBS" --target \
  MarrowfieldExcelXll fake_xlcall32 addin_tests xll_tests registry_tests \
  bridge_com_tests cache_memory_tests \
  MarrowfieldSetup fake_excel_server setup_tests setup_wine_tests \
  dialog_wine_tests
OBJDUMP=i686-w64-mingw32-objdump bash tools/windows/check_xll_exports.sh \
  "${BUILD}/bin/MarrowfieldExcel32.xll" 32
python3 tools/windows/check_eh_frame.py "${BUILD}/bin/MarrowfieldExcel32.xll"

step "Into the root"
RUN_TMP=$(mktemp -d "${TMPDIR:-/tmp}/marrowfield-wine32.XXXXXX")
chmod 1777 "$RUN_TMP"
mkdir "${RUN_TMP}/wineprefix"
mounted=()
in_root() { chroot "$WINE32_ROOT" "$@"; }
cleanup() {
  local status=$? i
  if ((${#mounted[@]})); then
    # Wine first: its server holds files under the root's /tmp.
    in_root /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    in_root /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
  fi
  stop_xvfb 2>/dev/null || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" ||
      echo "could not take down ${mounted[i]}" >&2
  done
  mounted=()
  # Only after every mount is down: never a path inside the root.
  rm -rf --one-file-system "$RUN_TMP"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
bind() {
  mkdir -p "${WINE32_ROOT}$2"
  mount --bind "$1" "${WINE32_ROOT}$2"
  mounted+=("${WINE32_ROOT}$2")
}
bind /proc /proc
bind /dev /dev
[[ -d /dev/shm ]] && bind /dev/shm /dev/shm
bind "$RUN_TMP" /tmp
bind "$ROOT" "$ROOT"
case $BUILD/ in
  "$ROOT"/*) ;;
  *) bind "$BUILD" "$BUILD" ;;
esac

# What the programs in the root see; chroot passes the environment on.
export TMPDIR=/tmp HOME=/root
export WINEPREFIX=/tmp/wineprefix
export WINEDEBUG=-all
# No Mono or Gecko install prompts.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
unset WAYLAND_DISPLAY

# The dialog tests show real windows: the root's Xvfb, there before Wine
# starts. start_xvfb runs "Xvfb ... &"; this function makes that the
# root's Xvfb, and exec keeps the recorded process id that of Xvfb itself.
Xvfb() { exec chroot "$WINE32_ROOT" /usr/bin/Xvfb "$@"; }
# shellcheck source=tools/windows/xvfb.sh
source tools/windows/xvfb.sh
start_xvfb

step "Wine in the root"
wine_started=$SECONDS
in_root /usr/lib/wine/wineserver -p 60
# Made the way a first program run makes it ("-u"), as the 64-bit run does.
timeout 300 "${ROOT}/tools/windows/wine32_chroot.sh" wineboot -u >/dev/null 2>&1
echo "WINEPREFIX made in $((SECONDS - wine_started))s"

step "32-bit Windows tests under Wine"
ctest --test-dir "$BUILD" -L 'addin|setup|engine' -LE serial \
  --output-on-failure --timeout 120 -j "$JOBS"
# The tests that register "Excel.Application" or publish a fake Excel in the
# running-object table, one at a time, as in the 64-bit run.
ctest --test-dir "$BUILD" -L serial --output-on-failure --timeout 120 -j 1 \
  --repeat until-pass:2

step "Wine ends; the build machine's packages"
in_root /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
in_root /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
if ! diff <(echo "$PACKAGES_BEFORE") <(list_packages); then
  echo "the build machine's packages changed during the run" >&2
  false
fi
echo "packages unchanged ($(echo "$PACKAGES_BEFORE" | wc -l) of them)"
step "Done"
