# Sourced by the PostgreSQL scripts: starts a throwaway cluster (initdb in
# a temporary folder, reached by its Unix socket only, no TCP) of the
# system's server, with whatever extensions are installed there, and stops
# and removes it when the calling shell exits, whether it succeeds or
# fails (an EXIT trap: source it in a subshell to keep the caller's own).
# Afterwards PGHOST, PGPORT and PGUSER point at it. To test the build,
# source tools/postgres_install.sh first.

pg_bindir=$(pg_config --bindir)

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
