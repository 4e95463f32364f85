# Sourced by the PostgreSQL scripts: builds and installs the extension,
# then starts a throwaway cluster (initdb in a temporary folder, reached by
# its Unix socket only, no TCP) that is stopped and removed when the
# calling script exits, whether it succeeds or fails. Afterwards PGHOST,
# PGPORT and PGUSER point at it.
# Expects the CMake build in build/ (tools/setup.sh).

pg_bindir=$(pg_config --bindir)
pg_source=$PWD/postgres
pg_build=$PWD/build/postgres
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

cmake --build build -j"$(nproc)" --target marrowfield_lists >/dev/null
mkdir -p "$pg_build"
pg_make() {
  make -s -C "$pg_build" -f "$pg_source/Makefile" VPATH="$pg_source" \
    MARROWFIELD_BUILD="$PWD/build" "$@"
}
pg_make
$sudo env "PATH=$PATH" make -s -C "$pg_build" -f "$pg_source/Makefile" \
  VPATH="$pg_source" MARROWFIELD_BUILD="$PWD/build" install

# The server refuses to run as root: there it runs as the postgres user.
pg_cluster=$(mktemp -d /tmp/marrowfield-pg.XXXXXX)
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
  chown postgres: "$pg_cluster"
  as_owner=(runuser -u postgres --)
fi

pg_stop_cluster() {
  if [ -f "$pg_cluster/data/postmaster.pid" ]; then
    "${as_owner[@]}" "$pg_bindir/pg_ctl" -D "$pg_cluster/data" -m fast \
      -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$pg_cluster"
}
trap pg_stop_cluster EXIT

"${as_owner[@]}" "$pg_bindir/initdb" -D "$pg_cluster/data" -U postgres \
  -A trust --no-sync >/dev/null
export PGHOST=$pg_cluster PGPORT=${MARROWFIELD_PGPORT:-54329} PGUSER=postgres
"${as_owner[@]}" "$pg_bindir/pg_ctl" -D "$pg_cluster/data" \
  -l "$pg_cluster/server.log" -w \
  -o "-c listen_addresses='' -k $pg_cluster -p $PGPORT -c fsync=off" \
  start >/dev/null || { cat "$pg_cluster/server.log" >&2; exit 1; }
