#!/usr/bin/env bash
# Builds and installs the PostgreSQL extension, starts a throwaway cluster
# (temporary folder, Unix socket only) and runs the extension's regression
# suite against it with `make installcheck`; the cluster is stopped and
# removed on exit, also on failure. Expects tools/setup.sh to have run.
# Afterwards the SQL part of the golden battery (tests/golden/) runs on the
# same cluster, and then tools/postgres_load.sh on a cluster of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/postgres_install.sh
source tools/postgres_cluster.sh

if ! pg_make installcheck; then
  cat "$pg_build/regression.diffs" >&2 || true
  exit 1
fi
python3 tests/postgres/engine_agreement.py

# The SQL part of the golden battery: every function and the operator,
# compared byte for byte with tests/golden/expected/sql.txt.
run_golden_sql() {
  /usr/bin/python3 tests/golden/run_golden.py sql
}
run_golden_sql

# The extension under load, on a cluster of its own (MARROWFIELD_LOAD_SECONDS
# of pgbench, timeouts, random strings through every function).
MARROWFIELD_PGPORT=$((${MARROWFIELD_PGPORT:-54329} + 1)) bash tools/postgres_load.sh
