#!/usr/bin/env bash
# Makes the Windows release archive and checks it:
#   Marrowfield-VERSION-windows.zip, holding in Marrowfield-VERSION/
#     x64/ (and x86/ once a 32-bit build exists): MarrowfieldExcel.xll and
#          MarrowfieldSetup.exe
#     customers.xlsx, README.txt, LICENSE.txt, NOTICE.txt
# from the Windows builds given as arguments (default: every build-windows*/
# folder whose bin/ holds an XLL); each build's bitness is read from its
# XLL. The archive is checked against that exact list of names (so no test
# double such as the fake XLCALL32.DLL and no test program can slip in),
# both XLLs' export and import tables with check_xll_exports.sh, and the
# version resources of every module against the project's version.
#
# With --test-setup, run inside tools/windows/ci.sh's Wine environment
# (WINEPREFIX set, Wine's server up), the installer tests also run against
# the files unpacked from the archive: MarrowfieldSetup.exe installs and
# removes the unpacked XLL in the fake Excel.
#
# Usage: release_zip.sh [--test-setup] [--output DIR] [WINDOWS_BUILD...]
# The archive goes to DIR (default: dist/ in the first build folder).
set -euo pipefail
cd "$(dirname "$0")/../.."
readonly ROOT=$PWD

fail() { echo "release_zip: FAILED: $*" >&2; exit 1; }

test_setup=false
output=""
builds=()
while (($#)); do
  case $1 in
    --test-setup) test_setup=true ;;
    --output) output=$2; shift ;;
    *) builds+=("$(cd "$1" && pwd)") ;;
  esac
  shift
done
if ((${#builds[@]} == 0)); then
  for dir in "$ROOT"/build-windows*/; do
    [[ -f ${dir}bin/MarrowfieldExcel.xll ]] && builds+=("${dir%/}")
  done
fi
((${#builds[@]})) || fail "no Windows build with bin/MarrowfieldExcel.xll; run tools/windows/ci.sh"

# The folder of the archive each build fills, from its XLL's machine type.
declare -A build_of=()
for build in "${builds[@]}"; do
  format=$(x86_64-w64-mingw32-objdump -f "${build}/bin/MarrowfieldExcel.xll" |
           sed -n 's/.*file format //p')
  case $format in
    pei-x86-64) arch=x64 ;;
    pei-i386) arch=x86 ;;
    *) fail "${build}: XLL of unknown format '${format}'" ;;
  esac
  [[ -z ${build_of[$arch]:-} ]] || fail "two ${arch} builds: ${build_of[$arch]} and ${build}"
  build_of[$arch]=$build
done
archs=$(printf '%s\n' "${!build_of[@]}" | sort)

version=""
for arch in $archs; do
  v=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "${build_of[$arch]}/CMakeCache.txt")
  [[ -n $v ]] || fail "${build_of[$arch]}: no project version in CMakeCache.txt"
  [[ -z $version || $v == "$version" ]] || fail "builds of versions ${version} and ${v}"
  version=$v
done
readonly version
readonly top=Marrowfield-${version}
output=${output:-${build_of[$(head -n1 <<<"$archs")]}/dist}
mkdir -p "$output"
output=$(cd "$output" && pwd)
readonly archive=${output}/${top}-windows.zip

staging=$(mktemp -d "${TMPDIR:-/tmp}/marrowfield-release.XXXXXX")
trap 'rm -rf "$staging"' EXIT

triple_of() { [[ $1 == x86 ]] && echo i686-w64-mingw32 || echo x86_64-w64-mingw32; }

# Text files with Windows line ends, for Notepad.
crlf() { sed 's/\r$//; s/$/\r/' "$1" >"$2"; }
address() {
  sed -n "s/^#define $1 \"\\(.*\\)\"$/\\1/p" "${ROOT}/addin/web_addresses.h"
}

mkdir -p "${staging}/${top}"
x86_lines=""
if [[ -n ${build_of[x86]:-} ]]; then
  x86_lines='  x86\\MarrowfieldExcel.xll   the add-in, for 32-bit Excel\n  x86\\MarrowfieldSetup.exe   its installer, for 32-bit Excel\n'
fi
sed -e "s/@VERSION@/${version}/" \
    -e "s|@SITE@|$(address MARROWFIELD_PRODUCT_SITE_URL)|" \
    -e "s|@MAIL@|$(address MARROWFIELD_SUPPORT_MAIL_ADDRESS)|" \
    -e "s|^@X86_LINES@|${x86_lines}|" \
    "${ROOT}/packaging/windows/README.txt" >"${staging}/readme"
crlf "${staging}/readme" "${staging}/${top}/README.txt"
crlf "${ROOT}/LICENSE" "${staging}/${top}/LICENSE.txt"
crlf "${ROOT}/NOTICE" "${staging}/${top}/NOTICE.txt"
cp "${ROOT}/examples/customers.xlsx" "${staging}/${top}/"
expected=("${top}/README.txt" "${top}/LICENSE.txt" "${top}/NOTICE.txt"
          "${top}/customers.xlsx")
for arch in $archs; do
  mkdir "${staging}/${top}/${arch}"
  for file in MarrowfieldExcel.xll MarrowfieldSetup.exe; do
    [[ -f ${build_of[$arch]}/bin/${file} ]] || fail "${build_of[$arch]}/bin/${file} is missing"
    cp "${build_of[$arch]}/bin/${file}" "${staging}/${top}/${arch}/"
    # The symbol table is no use to users and half the file; the checks
    # below and the installer run are of the stripped files.
    "$(triple_of "$arch")-strip" --strip-unneeded "${staging}/${top}/${arch}/${file}"
    expected+=("${top}/${arch}/${file}")
  done
done

rm -f "$archive"
(cd "$staging" && python3 -m zipfile -c "$archive" "$top")
echo "release_zip: made ${archive}"

# Checks of the archive itself, unpacked.
unpacked=${staging}/unpacked
python3 -m zipfile -e "$archive" "$unpacked"
actual=$(cd "$unpacked" && find . -type f | sed 's|^\./||' | sort)
if [[ $actual != "$(printf '%s\n' "${expected[@]}" | sort)" ]]; then
  diff <(printf '%s\n' "${expected[@]}" | sort) <(echo "$actual") | sed 's/^/  /' >&2 || true
  fail "the archive's files differ from the list (< expected, > in the archive)"
fi
echo "release_zip: $(wc -l <<<"$actual") files, exactly the list"

# The version in a module's VS_FIXEDFILEINFO (file and product version).
fixed_version() {
  python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))
if at < 0:
    sys.exit("no version resource")
ms, ls, pms, pls = struct.unpack_from("<4I", data, at + 8)
print("%d.%d.%d.%d %d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF,
                                   pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF))
EOF
}
for arch in $archs; do
  objdump=$(triple_of "$arch")-objdump
  dir=${unpacked}/${top}/${arch}
  OBJDUMP=$objdump bash "${ROOT}/tools/windows/check_xll_exports.sh" \
    "${dir}/MarrowfieldExcel.xll" | sed "s/^/${arch}: /"
  runtime=$("$objdump" -p "${dir}/MarrowfieldSetup.exe" |
            grep -ioE 'DLL Name: (libstdc\+\+|libgcc|libwinpthread|xlcall32)[^ ]*' || true)
  [[ -z $runtime ]] || fail "${arch} MarrowfieldSetup.exe imports ${runtime}"
  for file in MarrowfieldExcel.xll MarrowfieldSetup.exe; do
    got=$(fixed_version "${dir}/${file}") || fail "${arch}/${file}: no version resource"
    [[ $got == "${version}.0 ${version}.0" ]] ||
      fail "${arch}/${file}: version resource ${got}, project ${version}"
  done
  echo "${arch}: version resources ${version}.0, setup without MinGW runtime DLLs"
done

if $test_setup; then
  [[ -n ${WINEPREFIX:-} ]] || fail "--test-setup runs inside tools/windows/ci.sh's Wine environment"
  for arch in $archs; do
    build=${build_of[$arch]}
    wine=/usr/lib/wine/wine64
    [[ $arch == x86 ]] && wine=/usr/lib/wine/wine
    if [[ ! -x $wine || ! -f ${build}/bin/setup_wine_tests.exe ]]; then
      echo "release_zip: ${arch}: no ${wine} or installer tests in ${build}; installer not run"
      continue
    fi
    # The installer's test program and its fake Excel come from the build;
    # the installer and the XLL it installs, from the archive.
    run=${staging}/run-${arch}
    cp -r "${unpacked}/${top}/${arch}" "$run"
    for file in setup_wine_tests.exe fake_excel_server.dll XLCALL32.DLL; do
      cp "${build}/bin/${file}" "$run/"
    done
    if ! (cd "$run" && "$wine" setup_wine_tests.exe --gtest_brief=1 \
            --gtest_filter='SetupUnderWineTest.*' 2>&1) | tr -d '\r' |
         sed "s/^/${arch}: /"; then
      fail "${arch}: the archive's installer failed its tests under Wine"
    fi
    echo "release_zip: ${arch}: the archive's MarrowfieldSetup.exe installed and removed its XLL in the fake Excel"
  done
fi
echo "release_zip: passed"
