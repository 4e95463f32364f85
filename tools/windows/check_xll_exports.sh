#!/usr/bin/env bash
# Checks the tables of a built MarrowfieldExcel.xll with objdump:
#  - the export table holds exactly the engine's exports (every function
#    engine/include/marrowfield.h marks MARROWFIELD_EXPORT) plus Excel's
#    entry points, the four commands, CheckInstance, the worksheet
#    functions in their Excel4 and Excel12 forms, xlAutoFree and
#    xlAutoFree12, by plain names;
#  - XLCALL32.DLL is imported by ordinal only (Excel4 = 2, Excel4v = 3),
#    Excel4v among them;
#  - no MinGW runtime DLL is imported, so the XLL loads on its own;
#  - with BITS, the image is for that Windows (32: i386, 64: x86-64).
# Usage: check_xll_exports.sh PATH/TO/MarrowfieldExcel.xll [BITS]
# (OBJDUMP names the objdump to use; the x86-64 one by default.)
set -euo pipefail

readonly SCRIPT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly HEADER=${SCRIPT_DIR}/../../engine/include/marrowfield.h
readonly OBJDUMP=${OBJDUMP:-x86_64-w64-mingw32-objdump}

fail() { echo "check_xll_exports: FAILED: $*" >&2; exit 1; }

[[ ($# -eq 1 || $# -eq 2) && -f $1 ]] ||
  fail "usage: $0 PATH/TO/MarrowfieldExcel.xll [32|64]"
readonly XLL=$1
readonly BITS=${2:-}
DUMP=$("$OBJDUMP" -p "$XLL") || fail "$OBJDUMP could not read $XLL"

if [[ -n $BITS ]]; then
  case $BITS in
    32) format=pei-i386 ;;
    64) format=pei-x86-64 ;;
    *) fail "BITS must be 32 or 64, not $BITS" ;;
  esac
  grep -q "file format ${format}\$" <<<"$DUMP" ||
    fail "$XLL is not a ${BITS}-bit image ($(grep -m1 -o 'file format .*' <<<"$DUMP"))"
  echo "check_xll_exports: a ${BITS}-bit image (${format})"
fi

engine_exports() {
  tr '\n' ' ' <"$HEADER" |
    grep -oE 'MARROWFIELD_EXPORT [^(;]*\(' |
    sed -E 's/\($//; s/.*[ *]//' |
    grep -v '^__'
}

expected=$( {
  engine_exports
  printf '%s\n' xlAutoOpen xlAutoClose xlAutoRegister xlAddInManagerInfo \
    fMarrowfieldDialog fMarrowfieldAbout fMarrowfieldTest \
    fMarrowfieldDuplicates CheckInstance
  for f in Score Phones Code Best Matches BestScore Group; do
    printf 'fMarrowfield%s\nfMarrowfield%s12\n' "$f" "$f"
  done
  printf '%s\n' xlAutoFree xlAutoFree12
} | sort)
[[ $(wc -l <<<"$expected") -ge 36 ]] ||
  fail "found only $(wc -l <<<"$expected") expected names in $HEADER"

actual=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {on = 1; next}
              on && /^[[:space:]]*$/ {on = 0}
              on {print $NF}' <<<"$DUMP" | sort)
if [[ $actual != "$expected" ]]; then
  diff <(echo "$expected") <(echo "$actual") | sed 's/^/  /' >&2 || true
  fail "export table differs from the expected names (< expected, > actual)"
fi
echo "check_xll_exports: $(wc -l <<<"$actual") exports, exactly as expected"

# Entries of the import block of one DLL: "ordinal <n>" or "name <name>".
imports_of() {
  awk -v dll="$1" '
    /DLL Name:/ { on = (toupper($3) == toupper(dll)); next }
    on && /^[[:space:]]*$/ { if (seen) on = 0; next }
    on && /Hint\/Ord/ { next }
    on { seen = 1
         if ($NF == "<none>") { printf "ordinal %d\n", $(NF - 1) + 0 }
         else { print "name " $NF } }' <<<"$DUMP"
}

xlcall=$(imports_of XLCALL32.DLL)
[[ -n $xlcall ]] || fail "XLCALL32.DLL is not imported"
while read -r kind what; do
  [[ $kind == ordinal ]] || fail "XLCALL32.DLL import by name: $what"
  [[ $what == 2 || $what == 3 ]] ||
    fail "XLCALL32.DLL import of unknown ordinal $what"
done <<<"$xlcall"
grep -qx 'ordinal 3' <<<"$xlcall" || fail "Excel4v (ordinal 3) not imported"
echo "check_xll_exports: XLCALL32.DLL imported by ordinal only:" \
  $(cut -d' ' -f2 <<<"$xlcall")

runtime=$(grep -ioE 'DLL Name: (libstdc\+\+|libgcc|libwinpthread)[^ ]*' \
          <<<"$DUMP" || true)
[[ -z $runtime ]] || fail "imports MinGW runtime DLLs: ${runtime}"
echo "check_xll_exports: no MinGW runtime DLL imported"
