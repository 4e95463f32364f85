#!/usr/bin/env bash
# The Debian packages must not depend on the builder's umask or on the
# modes of the checkout's files. Many Debian and Ubuntu users work under
# umask 002, where a clone's files are group-writable (0664, folders
# 0775); a package that copies a file's mode from there ships it writable
# by the group, which lintian rejects. This test makes such a tree, builds
# and packs the packages there under umask 002, and checks the mode and
# owner of every member of every package (tools/deb_permissions.sh) and
# that lintian finds no error.
#
# The tree is a copy of the checkout's files as git sees them (tracked and
# new, not ignored; uncommitted changes included), with the modes a clone
# under umask 002 gives them. It and its build live in build-umask/
# (MARROWFIELD_UMASK_BUILD): the copy keeps the files' times, so a second
# run compiles only what changed. Only what the packages hold is built
# (no tests): on two cores the first run takes some ten minutes.
#
# Expects tools/setup.sh to have run. Needs no root: nothing is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
readonly ROOT=$PWD
readonly WORK=${MARROWFIELD_UMASK_BUILD:-${ROOT}/build-umask}
readonly SOURCE=${WORK}/source BUILD=${WORK}/build
jobs=$(nproc)

fail() { echo "package_umask_test: FAILED: $*" >&2; exit 1; }
step() { echo "-- $*"; }
command -v lintian >/dev/null || fail "lintian is not installed (tools/setup.sh installs it)"

umask 002
step "A copy of the checkout with group-writable files in ${SOURCE}"
rm -rf "$SOURCE"
mkdir -p "$SOURCE"
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' file; do
    # Files deleted in the working tree but still in the index are gone.
    if [[ -e $file || -L $file ]]; then printf '%s\0' "$file"; fi
  done |
  tar --null -T - -cf - | tar -xf - -C "$SOURCE"
# What git itself does under umask 002: files 0664 (0775 when executable),
# folders 0775.
chmod -R g+w "$SOURCE"
sample=$(stat -c %a "${SOURCE}/packaging/debian/marrowfield/triggers")
[[ $sample == 664 ]] || fail "the copy's files are not group-writable (triggers: ${sample})"

step "Building and packing the packages there, under umask 002"
# Installing must not build everything (the tests, the add-in's logic):
# the targets the packages hold are built below, and an install rule whose
# file is missing fails cpack.
cmake -S "$SOURCE" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMARROWFIELD_BUILD_TESTS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
grep -q '^MARROWFIELD_BUILD_POSTGRES:BOOL=ON$' "${BUILD}/CMakeCache.txt" ||
  fail "${BUILD} does not build the PostgreSQL extension (needs postgresql-server-dev-NN)"
cmake --build "$BUILD" -j"$jobs" --target marrowfield MarrowfieldExcel \
  MarrowfieldLists marrowfield_python marrowfield_postgres marrowfield_changelog >/dev/null
rm -rf "${BUILD}/packages"
(cd "$BUILD" && cpack -G DEB >/dev/null)
debs=("${BUILD}"/packages/*.deb)
[[ ${#debs[@]} -eq 4 ]] || fail "expected 4 packages: ${debs[*]}"
basename -a "${debs[@]}" | tr '\n' ' '
echo

# Both checks run whatever the first finds: each names what the other
# may not.
problems=()
step "The modes and owners of every member"
bash tools/deb_permissions.sh "${debs[@]}" || problems+=("members with wrong modes or owners")

step "lintian"
report=$(mktemp)
trap 'rm -f "$report"' EXIT
if lintian --fail-on error "${debs[@]}" >"$report" 2>&1; then
  echo "lintian: no errors"
else
  grep -v 'root privileges' "$report" >&2
  problems+=("lintian reports errors")
fi
if ((${#problems[@]} > 0)); then
  joined=$(printf '%s; ' "${problems[@]}")
  fail "${joined%; }"
fi
echo "package_umask_test: passed"
