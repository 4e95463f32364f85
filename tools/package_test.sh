#!/usr/bin/env bash
# The release packages as a user gets them: makes the Debian packages
# (cpack) and the wheel from the build in build/, checks the packages with
# lintian and the modes of their members (tools/deb_permissions.sh; the
# same from a group-writable tree: tools/package_umask_test.sh), installs
# them on this machine and runs a smoke test that uses only what they
# installed, from a folder outside the source tree:
#   - marrowfield --version, and a search of the packaged example;
#   - a C program built with `pkg-config --cflags --libs marrowfield`;
#   - a CMake project using find_package(Marrowfield);
#   - import marrowfield from the Debian package, and from the wheel in a
#     fresh virtual environment (pip install --no-index);
#   - CREATE EXTENSION marrowfield in a throwaway cluster of the system's
#     PostgreSQL server, whose score must be the installed program's;
#   - the version, the library's SONAME and the copyright files.
# Then it removes the packages again and checks that nothing of them is
# left. The packages are removed on every exit, also on failure, so that no
# installed libMarrowfieldExcel outlives the run.
#
# Files of the packages that are on the machine already but belong to no
# package (the extension as tools/postgres_test.sh's `make install` leaves
# it, or a `cmake --install` into /usr) are set aside while the packages
# are installed and put back after they are removed: dpkg would overwrite
# them silently, and the removal would delete them.
#
# Expects tools/setup.sh to have run (build/ configured and built); runs as
# root (or with sudo). Environment: MARROWFIELD_NATIVE_BUILD (default
# build/).
set -euo pipefail
cd "$(dirname "$0")/.."
readonly ROOT=$PWD
readonly BUILD=${MARROWFIELD_NATIVE_BUILD:-${ROOT}/build}
# Debian's own Python, which the python3-marrowfield package installs for.
readonly PYTHON=/usr/bin/python3
# The extension's package is named after the server's major version.
readonly PG_PACKAGE=postgresql-$(pg_config --version | sed -E 's/^PostgreSQL ([0-9]+).*/\1/')-marrowfield
readonly PACKAGES=(marrowfield libmarrowfield-dev python3-marrowfield "$PG_PACKAGE")

fail() { echo "package_test: FAILED: $*" >&2; exit 1; }
step() { echo "-- $*"; }

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
apt_get() {
  # Other runs on the machine may hold the package lock for a while.
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -qq -o DPkg::Lock::Timeout=600 "$@"
}
if ! command -v lintian >/dev/null; then
  apt_get update
  apt_get install -y --no-install-recommends lintian
fi

step "Building the packages and the wheel"
# Configure again: the wheel's target exists only where the configure step
# found Python's build tools, which setup.sh may have installed since.
cmake -S . -B "$BUILD" >/dev/null
grep -q '^MARROWFIELD_BUILD_POSTGRES:BOOL=ON$' "${BUILD}/CMakeCache.txt" ||
  fail "${BUILD} does not build the PostgreSQL extension (MARROWFIELD_BUILD_POSTGRES; needs postgresql-server-dev-NN)"
cmake --build "$BUILD" -j"$(nproc)" --target marrowfield MarrowfieldExcel libmarrowfield \
  marrowfield_python python_wheel marrowfield_postgres >/dev/null
rm -rf "${BUILD}/packages"
(cd "$BUILD" && cpack -G DEB >/dev/null)
debs=("${BUILD}"/packages/*.deb)
wheels=("${BUILD}"/dist/marrowfield-*.whl)
[[ ${#debs[@]} -eq ${#PACKAGES[@]} ]] || fail "expected ${#PACKAGES[@]} packages: ${debs[*]}"
[[ -f ${wheels[0]} && ${#wheels[@]} -eq 1 ]] || fail "expected one wheel: ${wheels[*]}"
# Every artifact checked below must state the project's one version.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "${BUILD}/CMakeCache.txt")
for deb in "${debs[@]}"; do
  [[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "${deb}: not version ${version}"
done
[[ $(basename "${wheels[0]}") == marrowfield-${version}-* ]] || fail "wheel not of version ${version}"
echo "version ${version}: $(basename -a "${debs[@]}" "${wheels[@]}" | tr '\n' ' ')"

is_installed() {  # also when only its configuration files are left
  local status
  status=$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null) || return 1
  [[ -n $status && $status != not-installed ]]
}
remove_packages() {
  local installed=()
  for p in "${PACKAGES[@]}"; do is_installed "$p" && installed+=("$p"); done
  ((${#installed[@]} == 0)) || apt_get purge -y "${installed[@]}" >/dev/null
}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/marrowfield-package-test.XXXXXX")
readonly STASH=${WORK}/set-aside
set_aside_unowned() {  # the packages' files already here but of no package
  local deb path
  for deb in "${debs[@]}"; do
    while read -r path; do
      path=${path#.}
      [[ $path != */ ]] && [[ -e $path || -L $path ]] || continue
      ! dpkg-query -S "$path" >/dev/null 2>&1 || continue
      $sudo mkdir -p "${STASH}$(dirname "$path")"
      $sudo mv "$path" "${STASH}${path}"
      echo "set aside while the packages are tested (no package's file): ${path}"
    done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t)
  done
}
put_back() {
  [[ -d $STASH ]] || return 0
  local path
  while read -r path; do
    path=${path#.}
    $sudo mkdir -p "$(dirname "$path")"
    $sudo mv "${STASH}${path}" "$path"
    echo "put back: ${path}"
  done < <(cd "$STASH" && find . ! -type d)
  $sudo rm -rf "$STASH"
}
cleanup() {
  remove_packages || echo "package_test: could not remove the packages" >&2
  put_back || echo "package_test: could not put back the files in ${STASH}" >&2
  [[ -d $STASH ]] || rm -rf "$WORK"
}
trap cleanup EXIT

step "lintian, and the modes and owners of the packages' members"
lintian --fail-on error "${debs[@]}" >"${WORK}/lintian.txt" 2>&1 ||
  { cat "${WORK}/lintian.txt" >&2; fail "lintian reports errors"; }
# Root is warned about; the warnings on the packages are worth seeing.
grep -v 'root privileges' "${WORK}/lintian.txt" || true
echo "lintian: no errors"
bash "${ROOT}/tools/deb_permissions.sh" "${debs[@]}" ||
  fail "members of the packages with wrong modes or owners"

step "Installing"
# A stale installation (an interrupted earlier run) would hide what these
# packages install.
remove_packages
set_aside_unowned
apt_get install -y --no-install-recommends "${debs[@]}" >/dev/null
for p in "${PACKAGES[@]}"; do
  dpkg-query -L "$p" | sort >"${WORK}/${p}.files"
done
# Every installed file is the package's own.
modified=$(dpkg --verify "${PACKAGES[@]}")
[[ -z $modified ]] || fail "installed files differ from the packages': ${modified}"
cd "$WORK"
# Nothing may come from the source tree or the build.
unset MARROWFIELD_LIBRARY PYTHONPATH LD_LIBRARY_PATH PKG_CONFIG_PATH CMAKE_PREFIX_PATH

step "The program"
[[ $(command -v marrowfield) == /usr/bin/marrowfield ]] || fail "marrowfield is not /usr/bin/marrowfield"
[[ $(marrowfield --version) == "marrowfield ${version}" ]] || fail "marrowfield --version: $(marrowfield --version)"
examples=/usr/share/doc/marrowfield/examples
for file in customers.csv customers.xlsx; do
  marrowfield search Smith "${examples}/${file}" >installed.txt ||
    fail "search of the packaged ${file}"
  "${BUILD}/cli/marrowfield" search Smith "${ROOT}/examples/${file}" >built.txt
  # Same results as the build it was packaged from, the folders aside.
  diff <(sed "s|${examples}/||" installed.txt) \
       <(sed "s|${ROOT}/examples/||" built.txt) ||
    fail "the installed program's search of ${file} differs from the build's"
  echo "search Smith ${file}: $(wc -l <installed.txt) results, as the build finds"
done
expected=$(marrowfield compare smith smyth)

step "The library"
library=""
while read -r path; do
  [[ -L $path ]] || library=$path  # the file itself, not its SONAME link
done < <(grep '/libMarrowfieldExcel\.so\.[0-9.]*$' marrowfield.files)
[[ $(basename "$library") == "libMarrowfieldExcel.so.${version}" ]] ||
  fail "library file ${library}"
soname=$(objdump -p "$library" | awk '$1 == "SONAME" {print $2}')
[[ $soname == "libMarrowfieldExcel.so.${version%%.*}" ]] || fail "SONAME ${soname}"
# Exactly the functions the installed header exports (its macro's own
# definitions aside): they are a contract.
declared=$(tr '\n' ' ' </usr/include/marrowfield.h |
           grep -oE 'MARROWFIELD_EXPORT [^(;]*\(' | sed -E 's/\($//; s/.*[ *]//' |
           grep -v '^__' | sort)
exported=$(nm -D --defined-only "$library" | awk '{print $3}' | sort)
[[ -n $declared && $exported == "$declared" ]] ||
  fail "the library's exports differ from marrowfield.h's: ${exported//$'\n'/ }"
echo "${library}: SONAME ${soname}, $(wc -l <<<"$exported") exports as marrowfield.h declares"
product=$(grep '/libmarrowfield\.so\.[0-9.]*$' marrowfield.files | while read -r path; do
  [[ -L $path ]] || echo "$path"; done)
[[ $(basename "$product") == "libmarrowfield.so.${version}" ]] || fail "library file ${product}"
soname=$(objdump -p "$product" | awk '$1 == "SONAME" {print $2}')
[[ $soname == "libmarrowfield.so.${version%%.*}" ]] || fail "SONAME ${soname}"
foreign=$(nm -D --defined-only "$product" | awk '$3 !~ /^mf_/ {print $3}')
[[ -z $foreign ]] || fail "${product} exports names without the mf_ prefix: ${foreign//$'\n'/ }"
echo "${product}: SONAME ${soname}, exports mf_ names only"

step "A C program built with pkg-config"
[[ $(pkg-config --modversion marrowfield) == "$version" ]] || fail "pkg-config version"
cat >compare.c <<'EOF'
#include <stdio.h>
#include <marrowfield.h>

int main(int argc, char** argv) {
  if (argc != 3 || initialize() != 0) return 2;
  printf("%d\n", compare_words(argv[1], argv[2]));
  un_initialize();
  return 0;
}
EOF
# shellcheck disable=SC2046  # pkg-config's words are separate arguments
cc -Wall -Werror -o compare_pc compare.c $(pkg-config --cflags --libs marrowfield)
[[ $(./compare_pc smith smyth) == "$expected" ]] || fail "C program (pkg-config)"
echo "compare smith smyth: ${expected}"
cat >compare_api.c <<'EOF'
#include <stdio.h>
#include <marrowfield_api.h>

int main(int argc, char** argv) {
  mf_options_t* options = mf_options_create();
  int score = -1;
  if (argc != 3 || options == NULL) return 2;
  mf_options_set_whole_cell(options, 1);
  if (mf_compare(options, argv[1], argv[2], &score, NULL) != MF_OK) return 2;
  mf_options_destroy(options);
  printf("%d\n", score);
  return 0;
}
EOF
# shellcheck disable=SC2046  # pkg-config's words are separate arguments
cc -Wall -Werror -o compare_api_pc compare_api.c $(pkg-config --cflags --libs marrowfield)
[[ $(./compare_api_pc smith smyth) == "$expected" ]] || fail "C program of the product interface (pkg-config)"
echo "mf_compare smith smyth: ${expected}"

step "A CMake project with find_package(Marrowfield)"
mkdir -p cmake_project
cp compare.c compare_api.c cmake_project/
cat >cmake_project/CMakeLists.txt <<EOF
cmake_minimum_required(VERSION 3.16)
project(uses_marrowfield C)
find_package(Marrowfield ${version} REQUIRED)
add_executable(compare compare.c)
target_link_libraries(compare PRIVATE Marrowfield::MarrowfieldExcel)
add_executable(compare_api compare_api.c)
target_link_libraries(compare_api PRIVATE Marrowfield::marrowfield)
EOF
cmake -S cmake_project -B cmake_build >/dev/null
cmake --build cmake_build >/dev/null
[[ $(cmake_build/compare smith smyth) == "$expected" ]] || fail "C program (CMake)"
[[ $(cmake_build/compare_api smith smyth) == "$expected" ]] || fail "C program of the product interface (CMake)"
echo "find_package(Marrowfield ${version}): builds and runs"

step "Python"
check_python() {  # PYTHON LABEL
  # The one library the package loads, on first use, serves both.
  "$1" -c 'import marrowfield
print(marrowfield.__version__, marrowfield.compare("smith", "smyth"),
      marrowfield.compare_many([("smith", "smyth")])[0],
      marrowfield._library.load()._name)' \
    >python.txt || fail "$2: import marrowfield"
  read -r got_version got_score got_many got_library <python.txt
  [[ $got_version == "$version" && $got_score == "$expected" && $got_many == "$expected" ]] ||
    fail "$2: version ${got_version}, scores ${got_score} ${got_many}"
  echo "$2: marrowfield ${got_version}, library ${got_library}"
}
check_python "$PYTHON" "Debian package"
"$PYTHON" -m venv --system-site-packages venv_system
check_python venv_system/bin/python "Debian package in a virtual environment"
"$PYTHON" -m venv venv_wheel
venv_wheel/bin/pip install --no-index --quiet --disable-pip-version-check "${wheels[0]}"
check_python venv_wheel/bin/python "wheel in a fresh virtual environment"
venv_wheel/bin/python -c 'import marrowfield, os, sys
sys.exit(os.path.dirname(marrowfield._library.load()._name) != os.path.dirname(marrowfield.__file__))' ||
  fail "the wheel's package does not load the library it carries"
# Both carry the typed package; marrowfield.dask imports where Dask is
# (Debian's Python has it from the set-up) and says what it needs where it
# is not (the wheel's fresh environment has no Dask).
for python in "$PYTHON" venv_wheel/bin/python; do
  "$python" -c 'import marrowfield, os, sys
sys.exit(not os.path.isfile(os.path.join(os.path.dirname(marrowfield.__file__), "py.typed")))' ||
    fail "${python}: the package has no py.typed"
done
"$PYTHON" -c 'import marrowfield.dask' || fail "Debian package: import marrowfield.dask"
dask_error=$(venv_wheel/bin/python -c 'import marrowfield.dask' 2>&1) &&
  fail "wheel without Dask: import marrowfield.dask succeeded"
grep -q "ImportError: marrowfield.dask needs Dask" <<<"$dask_error" ||
  fail "wheel without Dask: import marrowfield.dask said: ${dask_error##*$'\n'}"
echo "py.typed in both; marrowfield.dask imports with Dask and says what it needs without"

step "The PostgreSQL extension"
# In a subshell: the cluster is stopped and removed when it ends. From /,
# which the server's user may enter, unlike this test's folder.
(
  cd /
  source "${ROOT}/tools/postgres_cluster.sh"
  sql() { psql -X -q -A -t -v ON_ERROR_STOP=1 -d postgres -c "$1"; }
  sql 'CREATE EXTENSION marrowfield'
  score=$(sql "SELECT marrowfield_score('Smith', 'Smyth')")
  [[ $score == "$(marrowfield compare Smith Smyth)" ]] ||
    fail "marrowfield_score('Smith', 'Smyth') is ${score}, marrowfield compare says $(marrowfield compare Smith Smyth)"
  echo "CREATE EXTENSION marrowfield: marrowfield_score('Smith', 'Smyth') = ${score}, as the program says"
  sql 'DROP EXTENSION marrowfield'
)

step "Licences"
for p in "${PACKAGES[@]}"; do
  copyright=/usr/share/doc/${p}/copyright
  grep -q '^MIT License' "$copyright" && grep -q 'Flite' "$copyright" ||
    fail "${copyright}: no MIT licence or third-party notices"
done
grep -q "dist-info/NOTICE" <<<"$("$PYTHON" -m zipfile -l "${wheels[0]}")" ||
  fail "the wheel has no NOTICE"
echo "copyright files and the wheel's NOTICE present"

step "Removing"
cd "$ROOT"
remove_packages
for p in "${PACKAGES[@]}"; do
  ! is_installed "$p" || fail "${p} is still installed"
  while read -r path; do
    [[ -e $path || -L $path ]] || continue
    # Only folders another package owns (/usr/lib, ...) may remain.
    [[ -d $path && ! -L $path ]] && dpkg-query -S "$path" >/dev/null 2>&1 ||
      fail "left behind: ${path}"
  done <"${WORK}/${p}.files"
done
echo "removed: nothing of the packages is left"
put_back
echo "package_test: passed"
