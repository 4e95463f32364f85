#!/usr/bin/env bash
# Checks the owner and mode of every member of the given Debian packages,
# the control archive's as well as the files they install, against what
# Debian expects, so that no package depends on the builder's umask or on
# the modes of the files in the checkout:
#   - everything owned by root/root, nothing setuid, setgid or sticky;
#   - folders 0755; files 0644, shared libraries and modules too (Debian
#     policy: not executable), except the programs in /usr/bin, 0755;
#     symbolic links as they are;
#   - maintainer scripts (preinst, postinst, prerm, postrm, config) 0755,
#     the other control files (control, md5sums, shlibs, triggers, ...)
#     0644.
# Prints one line per wrong member and fails if there is any.
# Usage: tools/deb_permissions.sh PACKAGE.deb...
set -euo pipefail
(($# > 0)) || { echo "usage: $0 PACKAGE.deb..." >&2; exit 2; }

# The mode a member must have, from its type and path; "" for any.
expected_mode() {  # TYPE PATH ARCHIVE
  local type=$1 path=$2 archive=$3
  case $type in
    d) echo drwxr-xr-x; return ;;
    l) echo ""; return ;;
    -) ;;
    *) echo "a regular file, folder or link"; return ;;
  esac
  if [[ $archive == control ]]; then
    case ${path#./} in
      preinst | postinst | prerm | postrm | config) echo -rwxr-xr-x ;;
      *) echo -rw-r--r-- ;;
    esac
  else
    case $path in
      ./usr/bin/*) echo -rwxr-xr-x ;;
      *) echo -rw-r--r-- ;;
    esac
  fi
}

wrong=0 members=0
for deb in "$@"; do
  for archive in control data; do
    if [[ $archive == control ]]; then
      listing=$(dpkg-deb --ctrl-tarfile "$deb" | tar -tv --numeric-owner)
    else
      listing=$(dpkg-deb --fsys-tarfile "$deb" | tar -tv --numeric-owner)
    fi
    # tar -tv: MODE UID/GID SIZE DATE TIME PATH [-> TARGET]
    while read -r mode owner _ _ _ path; do
      path=${path%% -> *}
      members=$((members + 1))
      want=$(expected_mode "${mode:0:1}" "$path" "$archive")
      problem=""
      if [[ $owner != 0/0 ]]; then
        problem="owner ${owner}, not 0/0 (root)"
      elif [[ -n $want && $mode != "$want" ]]; then
        problem="mode ${mode}, not ${want}"
      fi
      if [[ -n $problem ]]; then
        echo "$(basename "$deb") (${archive}) ${path}: ${problem}"
        wrong=$((wrong + 1))
      fi
    done <<<"$listing"
  done
done
if ((wrong > 0)); then
  echo "deb_permissions: ${wrong} of ${members} members wrong" >&2
  exit 1
fi
echo "deb_permissions: all ${members} members of $# packages as Debian expects"
