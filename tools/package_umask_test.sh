#!/usr/bin/env bash
# The Debian packages must not depend on the builder's umask or on the
# modes of the checkout's files. Many Debian and Ubuntu users work under
# umask 002, where a clone's files are group-writable (0664, folders
# 0775); a package that copies a file's mode from there, or makes its
# folders under the builder's umask, ships them writable by the group,
# which lintian rejects. This test gives the checkout's files the modes of
# such a clone, packs the packages under umask 002, and checks the mode and
# owner of every member of every package (tools/deb_permissions.sh) and
# that lintian finds no error.
#
# Packing needs no compiling: it reuses the build in BUILD (default
# build/, which the packages stage has brought up to date) and writes the
# packages to a folder of its own. The files' own modes are put back on
# every exit.
#
# Expects tools/setup.sh to have run. Needs no root: nothing is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
readonly BUILD=${BUILD:-build}
WORK=$(mktemp -d)
readonly WORK
modes=${WORK}/modes

fail() { echo "package_umask_test: FAILED: $*" >&2; exit 1; }
step() { echo "-- $*"; }
command -v lintian >/dev/null || fail "lintian is not installed (tools/setup.sh installs it)"
[[ -f ${BUILD}/CPackConfig.cmake ]] || fail "${BUILD} is not configured (run tools/setup.sh)"

restore() {
  # Back to the modes the files had, whatever happened.
  if [[ -s $modes ]]; then
    while read -r mode file; do chmod "$mode" "$file"; done <"$modes"
  fi
  rm -rf "$WORK"
}
trap restore EXIT

step "The checkout's files group-writable, as a clone under umask 002 makes them"
git ls-files -z | while IFS= read -r -d '' file; do
  [[ -f $file && ! -L $file ]] && printf '%s\0' "$file"
done | xargs -0 stat -c '%a %n' >"$modes"
cut -d' ' -f2- "$modes" | tr '\n' '\0' | xargs -0 chmod g+w
sample=$(stat -c %a packaging/debian/marrowfield/triggers)
[[ $sample == 664 ]] || fail "the checkout's files are not group-writable (triggers: ${sample})"

step "Packing the packages under umask 002"
(umask 002 && cd "$BUILD" && cpack -G DEB -B "${WORK}/packages" >/dev/null)
debs=("${WORK}"/packages/*.deb)
[[ ${#debs[@]} -eq 4 ]] || fail "expected 4 packages: ${debs[*]}"
basename -a "${debs[@]}" | tr '\n' ' '
echo

# Both checks run whatever the first finds: each names what the other
# may not.
problems=()
step "The modes and owners of every member"
bash tools/deb_permissions.sh "${debs[@]}" || problems+=("members with wrong modes or owners")

step "lintian"
report=${WORK}/lintian.txt
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
