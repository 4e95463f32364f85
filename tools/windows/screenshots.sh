#!/usr/bin/env bash
# Photographs the add-in's dialogs as the real MarrowfieldExcel.xll
# shows them under Wine, into docs/screenshots/ (search_dialog.png with
# the results of a search, about_dialog.png with a link hovered,
# duplicates_dialog.png with its guessed header). The
# dialog tests drive the dialogs; at each picture they pause, write the
# window's screen rectangle, and wait until the picture is taken from the
# virtual display.
#
# Needs the Windows build of tools/windows/ci.sh (MARROWFIELD_WINDOWS_BUILD,
# default build-windows/) and the Debian packages wine64, fonts-wine (Wine's
# own MS Sans Serif and title-bar glyphs), xvfb and
# imagemagick (installed here when missing).
set -euo pipefail
cd "$(dirname "$0")/../.."
readonly ROOT=$PWD
readonly WIN_BUILD=${MARROWFIELD_WINDOWS_BUILD:-${ROOT}/build-windows}
readonly OUT=${1:-${ROOT}/docs/screenshots}
readonly WINE=/usr/lib/wine/wine64
readonly WINESERVER=/usr/lib/wine/wineserver
readonly PICTURES=(search_dialog about_dialog duplicates_dialog)

missing=()
for p in wine64 fonts-wine xvfb imagemagick; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null |
    grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq \
    --no-install-recommends "${missing[@]}"
fi
readonly TESTS=${WIN_BUILD}/bin/dialog_wine_tests.exe
[[ -f $TESTS ]] || { echo "no $TESTS: run tools/windows/ci.sh first" >&2; exit 1; }

source tools/windows/xvfb.sh
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/marrowfield-shots-wine.XXXXXX")
SHOTS=$(mktemp -d "${TMPDIR:-/tmp}/marrowfield-shots.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX" "$SHOTS"
  stop_xvfb
}
trap cleanup EXIT
start_xvfb
"$WINESERVER" -p 30
timeout 300 "$WINE" wineboot -u >/dev/null 2>&1
# Wine's own MS Sans Serif and title-bar glyphs, where Wine looks first;
# without them it draws the dialogs in a wider font and box glyphs as
# letters.
cp /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/*.ttf \
  "${WINEPREFIX}/drive_c/windows/Fonts/" 2>/dev/null || true
# Without a window manager on the display, Wine draws the title bars and
# frames itself, as Windows would.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

mkdir -p "$OUT"
(
  cd "${WIN_BUILD}/bin"
  MARROWFIELD_SHOT_DIR="Z:${SHOTS//\//\\}" timeout 300 "$WINE" \
    ./dialog_wine_tests.exe \
    --gtest_filter='DrivenDialogs.SearchNext*:DrivenDialogs.About*:DrivenDialogs.FindDuplicates_Unticks*'
) >"${SHOTS}/tests.log" 2>&1 &
readonly RUN=$!

for name in "${PICTURES[@]}"; do
  tries=0
  until [[ -f ${SHOTS}/${name}.ready ]]; do
    if ((++tries > 1200)) || ! kill -0 "$RUN" 2>/dev/null; then
      cat "${SHOTS}/tests.log" >&2
      echo "the dialog for ${name} never showed" >&2
      exit 1
    fi
    sleep 0.1
  done
  read -r x y w h <"${SHOTS}/${name}.ready"
  sleep 0.5  # let the last paint reach the display
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage \
    "${OUT}/${name}.png"
  touch "${SHOTS}/${name}.done"
  echo "${OUT}/${name}.png (${w}x${h})"
done
if ! wait "$RUN"; then
  cat "${SHOTS}/tests.log" >&2
  echo "the dialog tests failed" >&2
  exit 1
fi
