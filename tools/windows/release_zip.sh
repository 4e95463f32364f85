#!/usr/bin/env bash
# Makes the Windows release archive and checks it:
#   Marrowfield-VERSION-windows.zip, holding in Marrowfield-VERSION/
#     MarrowfieldExcel.xll (64-bit), MarrowfieldExcel32.xll (32-bit, when
#     a 32-bit build made one), MarrowfieldSetup.exe, customers.xlsx,
#     README.txt, LICENSE.txt, NOTICE.txt
# The add-ins lie side by side: the installer, given one, installs the one
# of the bitness of the Excel it finds. The archive is checked against that
# exact list of names (so no test double such as the fake XLCALL32.DLL and
# no test program can slip in), every module's machine type, every XLL's
# export and import tables (check_xll_exports.sh), and every module's
# version resource against the project's version.
#
# With --test-setup, run inside tools/windows/ci.sh's Wine environment
# (WINEPREFIX set, Wine's server up), the whole installer suite under Wine
# (setup_wine_tests.exe, every test) also runs against the files unpacked
# from the archive: MarrowfieldSetup.exe installs and removes the unpacked
# XLL in the fake Excel, picks the add-in of Excel's bitness beside a
# given one, rides out a busy Excel and reports a missing add-in, a file
# that is no add-in and a missing Excel.
#
# Usage: release_zip.sh [--test-setup]
# Environment: MARROWFIELD_WINDOWS_BUILD (the 64-bit build, default
# build-windows/), MARROWFIELD_WINDOWS_BUILD_32 (where else to look for
# MarrowfieldExcel32.xll, default build-windows32/). The archive goes to
# dist/ in the 64-bit build.
set -euo pipefail
cd "$(dirname "$0")/../.."
readonly ROOT=$PWD
readonly BUILD=${MARROWFIELD_WINDOWS_BUILD:-${ROOT}/build-windows}
readonly BUILD_32=${MARROWFIELD_WINDOWS_BUILD_32:-${ROOT}/build-windows32}

fail() { echo "release_zip: FAILED: $*" >&2; exit 1; }

test_setup=false
case ${1:-} in
  --test-setup) test_setup=true ;;
  "") ;;
  *) fail "usage: $0 [--test-setup]" ;;
esac

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "${BUILD}/CMakeCache.txt" 2>/dev/null || true)
[[ -n $version ]] || fail "no configured Windows build in ${BUILD}; run tools/windows/ci.sh"
readonly version
readonly top=Marrowfield-${version}
readonly archive=${BUILD}/dist/${top}-windows.zip

# The shipped modules and where each comes from.
declare -A source_of=(
  [MarrowfieldExcel.xll]=${BUILD}/bin/MarrowfieldExcel.xll
  [MarrowfieldSetup.exe]=${BUILD}/bin/MarrowfieldSetup.exe
)
for candidate in "${BUILD}/bin/MarrowfieldExcel32.xll" "${BUILD_32}/bin/MarrowfieldExcel32.xll"; do
  if [[ -f $candidate ]]; then
    source_of[MarrowfieldExcel32.xll]=$candidate
    break
  fi
done
for module in "${!source_of[@]}"; do
  [[ -f ${source_of[$module]} ]] || fail "${source_of[$module]} is missing"
done
modules=$(printf '%s\n' "${!source_of[@]}" | sort)

triple_of() {  # MODULE: the MinGW tools for its bitness
  [[ $1 == *32.xll ]] && echo i686-w64-mingw32 || echo x86_64-w64-mingw32
}
# The machine a PE image is for, from its COFF header: x64 or x86.
pe_machine() {
  python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read(4096)
pe = struct.unpack_from("<I", data, 0x3C)[0]
if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
    sys.exit("not a PE image")
machine = struct.unpack_from("<H", data, pe + 4)[0]
print({0x8664: "x64", 0x14C: "x86"}.get(machine, hex(machine)))
EOF
}
# Only the 32-bit add-in is for x86, and so is named.
for module in $modules; do
  want=x64
  [[ $module == *32.xll ]] && want=x86
  got=$(pe_machine "${source_of[$module]}") || fail "${source_of[$module]}: not a PE image"
  [[ $got == "$want" ]] || fail "${source_of[$module]} is for ${got}, not ${want}"
done

staging=$(mktemp -d "${TMPDIR:-/tmp}/marrowfield-release.XXXXXX")
trap 'rm -rf "$staging"' EXIT
mkdir -p "${staging}/${top}" "${BUILD}/dist"

# Text files with Windows line ends, for Notepad.
crlf() { sed 's/\r$//; s/$/\r/' "$1" >"$2"; }
address() {
  sed -n "s/^#define $1 \"\\(.*\\)\"$/\\1/p" "${ROOT}/addin/web_addresses.h"
}
# The 32-bit add-in's lines of the README only when it is shipped.
xll32='/@XLL32_/d'
if [[ -n ${source_of[MarrowfieldExcel32.xll]:-} ]]; then
  xll32='s|^@XLL32_LINE@$|  MarrowfieldExcel32.xll   the add-in, for 32-bit Excel|
s|^@XLL32_NOTE@$|   For a 32-bit Excel it installs MarrowfieldExcel32.xll from the same\n   folder instead.|'
fi
sed -e "s/@VERSION@/${version}/" \
    -e "s|@SITE@|$(address MARROWFIELD_PRODUCT_SITE_URL)|" \
    -e "s|@MAIL@|$(address MARROWFIELD_SUPPORT_MAIL_ADDRESS)|" \
    -e "$xll32" "${ROOT}/packaging/windows/README.txt" >"${staging}/readme"
crlf "${staging}/readme" "${staging}/${top}/README.txt"
crlf "${ROOT}/LICENSE" "${staging}/${top}/LICENSE.txt"
crlf "${ROOT}/NOTICE" "${staging}/${top}/NOTICE.txt"
cp "${ROOT}/examples/customers.xlsx" "${staging}/${top}/"
for module in $modules; do
  cp "${source_of[$module]}" "${staging}/${top}/"
done
expected=$(printf "${top}/%s\n" README.txt LICENSE.txt NOTICE.txt \
           customers.xlsx $modules | sort)

rm -f "$archive"
(cd "$staging" && python3 -m zipfile -c "$archive" "$top")
echo "release_zip: made ${archive}"

# Checks of the archive itself, unpacked.
unpacked=${staging}/unpacked
python3 -m zipfile -e "$archive" "$unpacked"
actual=$(cd "$unpacked" && find . -type f | sed 's|^\./||' | sort)
if [[ $actual != "$expected" ]]; then
  diff <(echo "$expected") <(echo "$actual") | sed 's/^/  /' >&2 || true
  fail "the archive's files differ from the list (< expected, > in the archive)"
fi
echo "release_zip: $(wc -l <<<"$actual") files, exactly the list"

# The versions a module's version resource states: the numbers of its
# VS_FIXEDFILEINFO (file, product) and its FileVersion and ProductVersion
# texts, as Explorer's Details tab shows them.
module_versions() {
  python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))
if at < 0:
    sys.exit("no version resource")
ms, ls, pms, pls = struct.unpack_from("<4I", data, at + 8)
numbers = ["%d.%d.%d.%d" % (hi >> 16, hi & 0xFFFF, lo >> 16, lo & 0xFFFF)
           for hi, lo in ((ms, ls), (pms, pls))]

def text(key):
    # A String entry: the key in UTF-16 with its terminator, padding to a
    # 32-bit boundary, then the value up to its terminator.
    start = data.find((key + "\0").encode("utf-16-le"), at)
    if start < 0:
        sys.exit("no " + key)
    i = start + 2 * (len(key) + 1)
    while data[i:i + 2] == b"\0\0":
        i += 2
    end = i
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[i:end].decode("utf-16-le")

print(" ".join(numbers + [text("FileVersion"), text("ProductVersion")]))
EOF
}
dir=${unpacked}/${top}
for module in $modules; do
  objdump=$(triple_of "$module")-objdump
  if [[ $module == *.xll ]]; then
    OBJDUMP=$objdump bash "${ROOT}/tools/windows/check_xll_exports.sh" \
      "${dir}/${module}" | sed "s/^/${module}: /"
  else
    runtime=$("$objdump" -p "${dir}/${module}" |
              grep -ioE 'DLL Name: (libstdc\+\+|libgcc|libwinpthread|xlcall32)[^ ]*' || true)
    [[ -z $runtime ]] || fail "${module} imports ${runtime}"
  fi
  got=$(module_versions "${dir}/${module}") || fail "${module}: no version resource"
  [[ $got == "${version}.0 ${version}.0 ${version} ${version}" ]] ||
    fail "${module}: version resource ${got}, project ${version}"
  echo "${module}: $(pe_machine "${dir}/${module}"), version resource ${version}.0"
done

if $test_setup; then
  [[ -n ${WINEPREFIX:-} ]] || fail "--test-setup runs inside tools/windows/ci.sh's Wine environment"
  # The test program takes the installer, the add-ins and the sample
  # workbook from its own folder: it runs in a copy of the unpacked folder
  # (the archive itself stays as shipped), with the test doubles from the
  # build beside it: the fake Excel's server and the fake XLCALL32.DLL the
  # add-in imports when the fake Excel loads it.
  run=${staging}/run
  cp -r "$dir" "$run"
  for file in setup_wine_tests.exe fake_excel_server.exe XLCALL32.DLL; do
    cp "${BUILD}/bin/${file}" "$run/"
  done
  wine_run() { (cd "$run" && /usr/lib/wine/wine64 setup_wine_tests.exe "$@" 2>&1) | tr -d '\r'; }
  if ! wine_run --gtest_brief=1 >"${staging}/setup.log"; then
    cat "${staging}/setup.log" >&2
    fail "the archive's installer failed its tests under Wine"
  fi
  cat "${staging}/setup.log"
  # Every test of the program ran (none skipped or filtered out).
  tests=$(wine_run --gtest_list_tests | grep -c '^  ')
  grep -qx "\[  PASSED  \] ${tests} tests\." "${staging}/setup.log" ||
    fail "not all ${tests} installer tests ran and passed"
  echo "release_zip: the archive's MarrowfieldSetup.exe and add-ins passed all ${tests} installer tests in the fake Excel"
fi
echo "release_zip: passed"
