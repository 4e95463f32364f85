#!/usr/bin/env bash
# Makes (once) the throwaway Debian 12 root in which the 32-bit add-in runs
# under 32-bit Wine: Debian's wine32 needs the i386 architecture, and adding
# it on the build machine itself upgrades system libraries there. The root
# is built with debootstrap in a temporary folder beside its final place and
# renamed into place only when complete, so an interrupted run leaves no half
# root; a stamp inside it names what was installed, and a later run that
# finds the same stamp reuses the root as it is.
#
# Prints the root's path on its last line. Run as root.
# Environment: MARROWFIELD_CACHE (default /var/cache/marrowfield),
# MARROWFIELD_DEBIAN_MIRROR (default http://deb.debian.org/debian).
set -euo pipefail

readonly CACHE=${MARROWFIELD_CACHE:-/var/cache/marrowfield}
readonly MIRROR=${MARROWFIELD_DEBIAN_MIRROR:-http://deb.debian.org/debian}
readonly FINAL=${CACHE}/wine32-root
# What the root holds; a change here makes the next run build a new one.
readonly PACKAGES="wine wine32:i386 xvfb xauth"
readonly STAMP_TEXT="bookworm minbase; i386; ${PACKAGES}; 1"
readonly STAMP_NAME=.marrowfield-wine32-stamp

[[ $(id -u) -eq 0 ]] || { echo "$0: needs root (debootstrap, chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null ||
  { echo "$0: debootstrap is missing (tools/setup.sh installs it)" >&2; exit 1; }

mkdir -p "$CACHE"
# One builder at a time; a second waits and then finds the root made.
exec 9>"${CACHE}/wine32-root.lock"
flock 9

if [[ -f ${FINAL}/${STAMP_NAME} && $(<"${FINAL}/${STAMP_NAME}") == "$STAMP_TEXT" ]]; then
  echo "$0: reusing ${FINAL}" >&2
  echo "$FINAL"
  exit 0
fi

started=$SECONDS
work=$(mktemp -d "${CACHE}/wine32-root.tmp.XXXXXX")
# mktemp makes it 0700; apt inside downloads as its own user, _apt.
chmod 755 "$work"
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -l "${mounted[i]}" 2>/dev/null || true
  done
  mounted=()
  # Only ever the temporary folder: the finished root was renamed away.
  if [[ -n ${work:-} && -d $work ]]; then
    # Never follow a mount left inside (umount -l above detached them all).
    rm -rf --one-file-system "$work"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Leftovers of an earlier interrupted run.
for old in "${CACHE}"/wine32-root.tmp.*; do
  [[ $old != "$work" && -d $old ]] || continue
  if ! grep -qs " ${old}" /proc/mounts; then rm -rf --one-file-system "$old"; fi
done

echo "$0: debootstrap into ${work} from ${MIRROR}" >&2
debootstrap --variant=minbase bookworm "$work" "$MIRROR" >&2

for m in proc dev dev/pts sys; do
  mount --bind "/$m" "${work}/$m"
  mounted+=("${work}/$m")
done
# Name resolution for apt inside the root.
cp /etc/resolv.conf "${work}/etc/resolv.conf"
cat >"${work}/usr/sbin/policy-rc.d" <<'EOF'
#!/bin/sh
# No services start inside the throwaway root.
exit 101
EOF
chmod 755 "${work}/usr/sbin/policy-rc.d"

in_root() { chroot "$work" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  DEBIAN_FRONTEND=noninteractive LC_ALL=C "$@"; }
in_root dpkg --add-architecture i386
in_root apt-get update -qq >&2
# shellcheck disable=SC2086 # the package list splits on purpose
in_root apt-get install -y -qq --no-install-recommends $PACKAGES >&2
in_root apt-get clean
[[ -x ${work}/usr/lib/wine/wine ]] ||
  { echo "$0: wine32 installed no /usr/lib/wine/wine" >&2; exit 1; }

for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}"; done
mounted=()
printf '%s\n' "$STAMP_TEXT" >"${work}/${STAMP_NAME}"

if [[ -d $FINAL ]]; then
  # A root of an older stamp: out of the way first, then gone.
  stale=$(mktemp -d "${CACHE}/wine32-root.tmp.XXXXXX")
  mv "$FINAL" "${stale}/old"
  rm -rf --one-file-system "$stale"
fi
mv "$work" "$FINAL"
work=""
echo "$0: built ${FINAL} in $((SECONDS - started))s" >&2
echo "$FINAL"
