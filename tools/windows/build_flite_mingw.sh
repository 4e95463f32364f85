#!/usr/bin/env bash
# Builds Flite's core library and its CMU US-English lexicon as static
# MinGW-w64 libraries, so the Windows add-in can link them in.
#
# The source is Flite's upstream tarball as Debian ships it in the flite
# source package. apt fetches it through source entries derived from this
# machine's own apt sources (no mirror is named here), and the tarball is
# checked against the SHA-256 that the package's .dsc records. Only the
# upstream tarball is used; the packaging tarball may be missing from the
# mirror and is never fetched.
#
# The result is cached outside the source tree:
#   $MARROWFIELD_CACHE/flite-mingw-<arch>/{include/flite,lib}
# for the MinGW-w64 target MARROWFIELD_MINGW_TRIPLE (default
# x86_64-w64-mingw32; i686-w64-mingw32 for the 32-bit add-in).
# (MARROWFIELD_CACHE defaults to /var/cache/marrowfield). A stamp records
# what was built; a later run with the same inputs does nothing.
#
# Needs: apt, make, and gcc-mingw-w64-<arch>-posix with its binutils.
set -euo pipefail

readonly SCRIPT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly CACHE_ROOT=${MARROWFIELD_CACHE:-/var/cache/marrowfield}
readonly TRIPLE=${MARROWFIELD_MINGW_TRIPLE:-x86_64-w64-mingw32}
readonly PREFIX=${CACHE_ROOT}/flite-mingw-${TRIPLE%%-*}
readonly DOWNLOADS=${CACHE_ROOT}/downloads
readonly CC_MINGW=${MINGW_CC:-${TRIPLE}-gcc-posix}
readonly AR_MINGW=${TRIPLE}-ar
readonly RANLIB_MINGW=${TRIPLE}-ranlib
readonly JOBS=${MARROWFIELD_JOBS:-2}

die() { echo "build_flite_mingw: error: $*" >&2; exit 1; }
note() { echo "build_flite_mingw: $*" >&2; }

for tool in "$CC_MINGW" "$AR_MINGW" "$RANLIB_MINGW" apt-get make tar \
            sha256sum flock; do
  command -v "$tool" >/dev/null || die "missing tool: $tool"
done
readonly APT_HELPER=/usr/lib/apt/apt-helper
[[ -x $APT_HELPER ]] || die "missing $APT_HELPER"

mkdir -p "$CACHE_ROOT" "$DOWNLOADS"
exec 9>"${CACHE_ROOT}/flite-mingw.lock"
flock 9

# The version of Flite the Linux build uses, when it is installed, so both
# platforms transcribe with the same lexicon; otherwise apt's candidate.
SOURCE_VERSION=$(dpkg-query -W -f='${source:Version}' libflite1 2>/dev/null \
                 || true)
readonly SOURCE_VERSION
readonly SOURCE_SPEC=flite${SOURCE_VERSION:+=$SOURCE_VERSION}

# Everything that decides the output goes into the stamp, so a change of
# compiler, version or this script forces a rebuild.
stamp_text() {
  echo "source: ${SOURCE_SPEC}"
  echo "compiler: $("$CC_MINGW" --version | head -n 1)"
  echo "script: $(sha256sum "${BASH_SOURCE[0]}" | cut -d' ' -f1)"
}

if [[ -f ${PREFIX}/STAMP && -f ${PREFIX}/lib/libflite.a &&
      -f ${PREFIX}/lib/libflite_cmulex.a ]] &&
   [[ "$(cat "${PREFIX}/STAMP")" == "$(stamp_text)" ]]; then
  note "cached build is current: ${PREFIX}"
  echo "$PREFIX"
  exit 0
fi

WORK=$(mktemp -d "${CACHE_ROOT}/flite-build.XXXXXX")
readonly WORK
trap 'rm -rf "$WORK"' EXIT

# --- Derive deb-src entries from the machine's apt sources -----------------
# apt runs against a private state directory, so the machine's own lists and
# caches stay untouched and no source entry is left behind.
APT_DIR=${WORK}/apt
mkdir -p "${APT_DIR}/sources.list.d" "${APT_DIR}/lists/partial" \
         "${APT_DIR}/cache/archives/partial"
: >"${APT_DIR}/empty.list"

derive_one_line_sources() {  # classic "deb [opts] uri suite comps" lines
  sed -n -E 's/^[[:space:]]*deb([[:space:]]+)/deb-src\1/p' "$1"
}

derive_deb822_sources() {  # stanzas; keep those that are enabled and binary
  awk '
    function flush() {
      if (n > 0 && isdeb && !disabled) {
        for (i = 1; i <= n; i++) print lines[i]
        print ""
      }
      n = 0; isdeb = 0; disabled = 0
    }
    /^[[:space:]]*$/ { flush(); next }
    /^[[:space:]]*#/ { next }
    /^Types:/ {
      for (i = 2; i <= NF; i++) if ($i == "deb") isdeb = 1
      lines[++n] = "Types: deb-src"; next
    }
    /^Enabled:[[:space:]]*(no|false)/ { disabled = 1 }
    { lines[++n] = $0 }
    END { flush() }
  ' "$1"
}

derived=${APT_DIR}/sources.list.d/derived.sources
derived_list=${APT_DIR}/sources.list.d/derived.list
: >"$derived"
: >"$derived_list"
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [[ -f $f ]] && derive_one_line_sources "$f" >>"$derived_list"
done
for f in /etc/apt/sources.list.d/*.sources; do
  [[ -f $f ]] && derive_deb822_sources "$f" >>"$derived"
done
[[ -s $derived || -s $derived_list ]] ||
  die "no binary apt sources found to derive source entries from"

# apt downloads as its own unprivileged user where it can.
if id _apt >/dev/null 2>&1; then
  chmod 755 "$WORK" "$APT_DIR"
  chown -R _apt "${APT_DIR}/lists" "${APT_DIR}/cache" "$DOWNLOADS" || true
fi

APT_OPTS=(
  -o "Dir::Etc::sourcelist=${APT_DIR}/empty.list"
  -o "Dir::Etc::sourceparts=${APT_DIR}/sources.list.d"
  -o "Dir::State::lists=${APT_DIR}/lists"
  -o "Dir::Cache=${APT_DIR}/cache"
  -o "APT::Get::List-Cleanup=false"
)

note "reading source indexes for ${SOURCE_SPEC}"
apt-get "${APT_OPTS[@]}" -qq update >&2 || die "apt-get update failed"
URIS=$(apt-get "${APT_OPTS[@]}" source --print-uris -qq "$SOURCE_SPEC") ||
  die "apt-get source --print-uris ${SOURCE_SPEC} failed"

# Lines look like: 'URI' file size SHA256:hash
uri_line() { grep -E "^'[^']*' $1 " <<<"$URIS" | head -n 1; }
DSC_LINE=$(grep -E "^'[^']*' [^ ]+\.dsc " <<<"$URIS" | head -n 1)
[[ -n $DSC_LINE ]] || die "no .dsc among the source files of ${SOURCE_SPEC}"
read -r DSC_URI DSC_NAME _ DSC_HASH <<<"$DSC_LINE"
DSC_URI=${DSC_URI//\'/}

fetch() {  # uri destination hash
  if [[ -f $2 ]] && [[ "SHA256:$(sha256sum "$2" | cut -d' ' -f1)" == "$3" ]]
  then
    return 0
  fi
  rm -f "$2"
  "$APT_HELPER" download-file "$1" "$2" "$3" >&2 || die "download of $1 failed"
}

fetch "$DSC_URI" "${DOWNLOADS}/${DSC_NAME}" "$DSC_HASH"

# The .dsc names the upstream tarball and its SHA-256.
ORIG_LINE=$(awk '/^Checksums-Sha256:/ {on = 1; next}
                 /^[^ ]/ {on = 0}
                 on && $3 ~ /\.orig\.tar\.(gz|xz|bz2)$/ {print $1, $3; exit}' \
            "${DOWNLOADS}/${DSC_NAME}")
[[ -n $ORIG_LINE ]] || die "${DSC_NAME} names no upstream tarball"
read -r ORIG_SHA256 ORIG_NAME <<<"$ORIG_LINE"
ORIG_URI_LINE=$(uri_line "$(sed 's/[.]/[.]/g' <<<"$ORIG_NAME")")
[[ -n $ORIG_URI_LINE ]] || die "apt offers no URI for ${ORIG_NAME}"
ORIG_URI=$(cut -d' ' -f1 <<<"$ORIG_URI_LINE" | tr -d "'")

fetch "$ORIG_URI" "${DOWNLOADS}/${ORIG_NAME}" "SHA256:${ORIG_SHA256}"
actual=$(sha256sum "${DOWNLOADS}/${ORIG_NAME}" | cut -d' ' -f1)
[[ $actual == "$ORIG_SHA256" ]] ||
  die "${ORIG_NAME}: SHA-256 ${actual} differs from the .dsc's ${ORIG_SHA256}"
note "verified ${ORIG_NAME} (SHA-256 ${ORIG_SHA256})"

# --- Build --------------------------------------------------------------
mkdir -p "${WORK}/src"
tar -xf "${DOWNLOADS}/${ORIG_NAME}" -C "${WORK}/src"
SRC=$(find "${WORK}/src" -mindepth 1 -maxdepth 1 -type d | head -n 1)
[[ -f ${SRC}/configure && -f ${SRC}/include/cst_file.h ]] ||
  die "unexpected layout of ${ORIG_NAME}"

# With -fgnu89-inline (needed for the plain __inline definitions in the
# sources) the two snprintf helpers in cst_file.h would become an external
# definition in every object. Making them static in this build-time copy
# keeps each one private to its object, for Flite and for our code alike.
sed -i -E 's/^__inline int (c99_v?snprintf)/static __inline int \1/' \
  "${SRC}/include/cst_file.h"
[[ $(grep -c '^static __inline int c99_' "${SRC}/include/cst_file.h") == 2 ]] ||
  die "cst_file.h no longer has the two snprintf helpers this script patches"

# Flite marks three globals for export from a DLL of its own. Linked
# statically into the add-in they would appear in the add-in's export
# table, whose contents are fixed; in this build they are plain globals.
sed -i -E 's/^#define GLOBALVARDEF __declspec\(dllexport\)$/#define GLOBALVARDEF/' \
  "${SRC}/include/flite.h" "${SRC}/src/synth/flite.c"
! grep -q 'GLOBALVARDEF __declspec' "${SRC}/include/flite.h" \
    "${SRC}/src/synth/flite.c" ||
  die "flite.h or flite.c still exports its globals"

note "configuring for ${TRIPLE}"
(cd "$SRC" && CFLAGS="-O2" ./configure --host="$TRIPLE" --target="$TRIPLE" \
   --disable-shared --with-audio=none >"${WORK}/configure.log" 2>&1) ||
  { tail -n 30 "${WORK}/configure.log" >&2; die "configure failed"; }

# configure picks a fixed old compiler name for mingw targets; the tools are
# named on make's command line instead.
MAKE_ARGS=(CC="$CC_MINGW" AR="$AR_MINGW" RANLIB="$RANLIB_MINGW"
           EXTRA_CC_FLAGS="-fgnu89-inline" -j"$JOBS")
for dir in include src lang/cmulex; do
  note "building ${dir}"
  make -C "${SRC}/${dir}" "${MAKE_ARGS[@]}" >"${WORK}/make.log" 2>&1 ||
    { tail -n 40 "${WORK}/make.log" >&2; die "make in ${dir} failed"; }
done

BUILT=$(find "${SRC}/build" -type d -name lib | head -n 1)
for lib in libflite.a libflite_cmulex.a; do
  [[ -f ${BUILT}/${lib} ]] || die "${lib} was not built"
done

# Install atomically: a half-written prefix never carries a valid stamp.
STAGE=${WORK}/stage
mkdir -p "${STAGE}/include/flite" "${STAGE}/lib"
cp "${SRC}"/include/*.h "${STAGE}/include/flite/"
cp "${BUILT}/libflite.a" "${BUILT}/libflite_cmulex.a" "${STAGE}/lib/"
stamp_text >"${STAGE}/STAMP"
rm -rf "${PREFIX}.old"
[[ -d $PREFIX ]] && mv "$PREFIX" "${PREFIX}.old"
mv "$STAGE" "$PREFIX"
rm -rf "${PREFIX}.old"
note "installed into ${PREFIX}"
echo "$PREFIX"
