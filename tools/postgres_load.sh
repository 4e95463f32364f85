#!/usr/bin/env bash
# The PostgreSQL extension under load, on a throwaway cluster of its own
# (tools/postgres_cluster.sh, Unix socket only; stopped and removed on
# exit). Expects the extension installed (tools/postgres_install.sh, or
# tools/postgres_test.sh, which runs this after its suite).
#   - pgbench, 8 clients for MARROWFIELD_LOAD_SECONDS (default 60): a mix
#     of %~ lookups through the index (strict and tolerant), scores with
#     options and a small marrowfield_dedupe; no failed transaction, and
#     the server still up (no backend ended by a signal) afterwards;
#   - statement_timeout = 100ms on a full-scan %~ over 1 000 000 rows ends
#     it with the timeout error within a second, and the session's next
#     query works; the same on a large marrowfield_dedupe and
#     marrowfield_link, stopped inside the library's pair finding (which
#     asks between values whether a cancel is pending);
#   - 10 000 random strings, valid UTF-8, through every function: no error.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${MARROWFIELD_LOAD_SECONDS:-60}
source tools/postgres_cluster.sh

fail() { echo "postgres_load: FAILED: $*" >&2; exit 1; }
sql() { psql -X -q -A -t -v ON_ERROR_STOP=1 -d load "$@"; }

psql -X -q -d postgres -c "CREATE DATABASE load"
names_file=$PWD/tests/data/names/names.tsv
sql <<EOF_SQL
CREATE EXTENSION marrowfield;
CREATE TABLE sample (name text);
\\copy sample FROM PROGRAM 'cut -f2 "$names_file" | tail -n +2'
-- 1 000 000 rows: the sample's names, each with a numbered variant.
CREATE TABLE names AS
SELECT row_number() OVER () AS id,
       CASE WHEN n % 3 = 0 THEN s.name ELSE s.name || chr((97 + n % 26)::int) END AS name
FROM sample s, generate_series(1, 1000000 / (SELECT count(*) FROM sample) + 1) n
LIMIT 1000000;
CREATE INDEX names_id ON names (id);
CREATE INDEX names_strict ON names USING gin (name marrowfield_gin_ops)
  WHERE id <= 100000;
CREATE INDEX names_all ON names USING gin (name marrowfield_all_gin_ops)
  WHERE id <= 100000;
ANALYZE names;
EOF_SQL
start_time=$(sql -c "SELECT pg_postmaster_start_time()")

echo "-- pgbench: 8 clients, ${seconds} s"
script=$(mktemp)
trap 'rm -f "$script"; pg_stop_cluster' EXIT
cat >"$script" <<'EOF_BENCH'
\set q random(1, 100000)
SELECT count(*) FROM names WHERE id <= 100000 AND name %~ (SELECT name FROM names WHERE id = :q);
SET marrowfield.scoring = tolerant;
SELECT count(*) FROM names WHERE id <= 100000 AND name %~ (SELECT name FROM names WHERE id = :q);
RESET marrowfield.scoring;
SELECT marrowfield_score(name, 'Smith', 'tolerant', false, true) FROM names WHERE id = :q;
SELECT count(*) FROM marrowfield_dedupe(ARRAY(SELECT name FROM names WHERE id BETWEEN :q AND :q + 200));
EOF_BENCH
out=$("$(pg_config --bindir)/pgbench" -n -c 8 -j 2 -T "$seconds" -f "$script" load 2>&1) ||
  { echo "$out" >&2; fail "pgbench"; }
echo "$out" | grep -E "^(number of (transactions actually processed|failed)|tps|latency average)"
failed=$(echo "$out" | sed -n 's/^number of failed transactions: \([0-9]*\).*/\1/p')
[[ ${failed:-0} == 0 ]] || fail "${failed} failed transactions"
[[ $(sql -c "SELECT pg_postmaster_start_time()") == "$start_time" ]] ||
  fail "the server restarted under load"
! grep -qE "terminated by signal|server process .* was terminated" "$pg_cluster/server.log" ||
  fail "a backend ended by a signal: $(grep -E 'terminated' "$pg_cluster/server.log" | head -3)"
echo "server up, no backend ended by a signal"

# Runs |statement| under a 100 ms statement_timeout; prints the seconds it
# took to fail. Fails unless it ends with the timeout error (57014) and
# the same session then answers.
timed_out() {
  local result
  result=$(sql -v ON_ERROR_STOP=0 <<EOF_SQL 2>&1
SET max_parallel_workers_per_gather = 0;
SET statement_timeout = '100ms';
\\set VERBOSITY sqlstate
SELECT extract(epoch FROM clock_timestamp()) AS before \\gset
$1;
SELECT round((extract(epoch FROM clock_timestamp()) - :before)::numeric, 2) AS took;
RESET statement_timeout;
SELECT 'next query: ' || marrowfield_score('Smith', 'Smyth');
EOF_SQL
)
  grep -q "^ERROR:  57014" <<<"$result" || fail "no timeout error from: $1 (${result})"
  grep -q "^next query: 75" <<<"$result" || fail "the session did not answer after: $1"
  sed -n 's/^\([0-9.]*\)$/\1/p' <<<"$result" | head -1
}
took=$(timed_out "SET enable_bitmapscan = off; SELECT count(*) FROM names WHERE name %~ 'Smith'")
echo "statement_timeout 100 ms on a full-scan %~ over 1 000 000 rows: error after ${took} s"
awk -v t="$took" 'BEGIN { exit !(t < 1.0) }' || fail "the full scan took ${took} s to stop"
# The list is built beforehand, so that the timeout falls in the library's
# call, not in reading the rows.
sql -c "CREATE TABLE big_list AS SELECT array_agg(name) AS names FROM names WHERE id <= 300000"
# Tolerant, so that the call would run for many seconds (about 18 s for
# the dedupe on one core) if it did not stop.
took=$(timed_out "SELECT count(*) FROM big_list, marrowfield_dedupe(big_list.names, scoring => 'tolerant')")
echo "statement_timeout 100 ms on a tolerant marrowfield_dedupe of 300 000 names: error after ${took} s"
awk -v t="$took" 'BEGIN { exit !(t < 1.0) }' || fail "marrowfield_dedupe took ${took} s to stop"
# On every core: the library's worker threads stop as well.
took=$(timed_out "SET marrowfield.threads = 0; SELECT count(*) FROM big_list, marrowfield_dedupe(big_list.names, scoring => 'tolerant')")
echo "the same on every core: error after ${took} s"
awk -v t="$took" 'BEGIN { exit !(t < 1.0) }' || fail "marrowfield_dedupe on every core took ${took} s to stop"
took=$(timed_out "SELECT count(*) FROM big_list, marrowfield_link(big_list.names[1:20000], big_list.names, scoring => 'tolerant')")
echo "statement_timeout 100 ms on a tolerant marrowfield_link of 20 000 against 300 000 names: error after ${took} s"
awk -v t="$took" 'BEGIN { exit !(t < 1.0) }' || fail "marrowfield_link took ${took} s to stop"

echo "-- 10 000 random strings through every function"
/usr/bin/python3 - >"$script" <<'EOF_PY'
import random
rng = random.Random(27)
pools = [range(0x20, 0x7f), range(0xa0, 0x250), range(0x370, 0x3ff),
         range(0x400, 0x4ff), range(0x4e00, 0x4f00), range(0x1f600, 0x1f650)]
for _ in range(10000):
    text = "".join(chr(rng.choice(rng.choice(pools)))
                   for _ in range(rng.choice([0, 1, 2, 5, 12, 40, 200])))
    print(text.replace("\\", "\\\\").replace("\t", " "))
EOF_PY
sql <<EOF_SQL
CREATE TABLE random_texts (n serial, t text);
\\copy random_texts (t) FROM '$script'
SELECT count(*) AS random_texts FROM random_texts;
SELECT count(marrowfield_score(a.t, b.t)), count(marrowfield_score(a.t, b.t, 'tolerant', false, true)),
       count(NULLIF(a.t %~ b.t, false)), count(marrowfield_phones(a.t)),
       count(marrowfield_phones(a.t, true)), count(marrowfield_code(a.t)),
       count((marrowfield_match(a.t, b.t)).score), count(marrowfield_keys(a.t)),
       count(marrowfield_fold(a.t))
FROM random_texts a JOIN random_texts b ON b.n = 10001 - a.n;
SELECT count(*) FROM marrowfield_dedupe(ARRAY(SELECT t FROM random_texts), scoring => 'tolerant', fold => true);
SELECT count(*) FROM marrowfield_link(ARRAY(SELECT t FROM random_texts WHERE n <= 2000),
                                      ARRAY(SELECT t FROM random_texts), whole_cell => true);
SET marrowfield.scoring = tolerant;
SET enable_seqscan = off;
CREATE INDEX ON random_texts USING gin (t marrowfield_all_gin_ops);
SELECT count(*) FROM random_texts a WHERE a.t %~ 'Smith';
EOF_SQL
echo "postgres_load: passed"
