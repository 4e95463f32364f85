#!/usr/bin/env python3
"""Measures the PostgreSQL extension in a running cluster and prints ratios.

Run by bench/postgres_bench.sh, which starts the cluster (PGHOST, PGPORT,
PGUSER) and generates the corpora. Every figure is a ratio of two
measurements taken in the same run, on the same server:
- `name %~ 'Smith'` over 1 000 000 rows with the GIN index against the
  same query scanning every row (and the same rows both ways);
- a duplicate self-join of the distinct full names through the index
  against the exhaustive join, whose cost is extrapolated from a sample of
  values scored against every row; the recall of the indexed join on that
  sample at accuracies 60 to 90;
- the per-row cost of marrowfield_score on warm names against
  fuzzystrmatch's levenshtein and dmetaphone, each less the cost of a scan
  that calls no function.

Usage: postgres_bench.py CELLS_CSV FULL_NAMES_TSV DISTINCT SAMPLE_NAMES_TSV
       postgres_bench.py costs SAMPLE_NAMES_TSV

The second form measures the COST of every function of the extension, in
units of length(text) (whose cost, as any simple built-in function's, is
1): the time a call takes over 200 000 rows of names of the sample, less
the scan's, against the same for length(). The figures are what
marrowfield--1.0--1.1.sql states.
"""

import os
import re
import statistics
import subprocess
import sys
import tempfile

MARK = "@@end@@"
REPEATS = 3
EXHAUSTIVE_SAMPLE = 500


def session(statements):
    """Runs |statements| in one psql session (so the backend stays warm);
    returns (rows, milliseconds) per statement."""
    script = ["\\set ON_ERROR_STOP on", "\\timing on"]
    for s in statements:
        script += [s if s.rstrip().endswith(";") or s.startswith("\\")
                   else s + ";", "\\echo " + MARK]
    run = subprocess.run(["psql", "-X", "-q", "-A", "-t", "-d", "bench"],
                         input="\n".join(script) + "\n", capture_output=True,
                         text=True)
    if run.returncode != 0:
        sys.stderr.write(run.stderr)
        run.check_returncode()
    out = run.stdout
    results = []
    for chunk in out.split(MARK + "\n")[:len(statements)]:
        lines = chunk.splitlines()
        times = [float(m.group(1)) for m in
                 (re.match(r"Time: ([\d.]+) ms", l) for l in lines) if m]
        rows = [l for l in lines if not l.startswith("Time: ")]
        results.append((rows, sum(times)))
    return results


def median_time(results, first, count):
    return statistics.median(ms for _, ms in results[first:first + count])


def load(cells, full_names, sample_names):
    subprocess.run(["psql", "-X", "-q", "-d", "postgres", "-c",
                    "CREATE DATABASE bench"], check=True)
    session([
        "CREATE EXTENSION marrowfield",
        "CREATE EXTENSION fuzzystrmatch",
        "CREATE TABLE cells (id serial PRIMARY KEY, name text)",
        "\\copy cells (name) FROM '%s' WITH (FORMAT csv, HEADER)" % cells,
        "CREATE TABLE full_names (id serial PRIMARY KEY, grp int, name text)",
        "\\copy full_names (grp, name) FROM '%s' WITH (FORMAT text, HEADER)"
        % full_names,
        "CREATE TABLE sample_names (grp int, name text)",
        "\\copy sample_names FROM '%s' WITH (FORMAT text, HEADER)"
        % sample_names,
        # 100 000 rows of about 2 000 distinct names: every transcription
        # stays in the default cache, so the costs are those of warm names.
        "CREATE TABLE warm AS SELECT name FROM sample_names, "
        "generate_series(1, 100000 / (SELECT count(*) FROM sample_names) + 1)"
        " LIMIT 100000",
        "VACUUM ANALYZE cells",
        "VACUUM ANALYZE full_names",
        "VACUUM ANALYZE warm",
    ])


def smith_query():
    query = "SELECT id FROM cells WHERE name %~ 'Smith'"
    check = ("SELECT count(*) || ' ' || md5(string_agg(id::text, ',' "
             "ORDER BY id)) FROM cells WHERE name %~ 'Smith'")
    index = session(["SELECT count(*) FROM cells",
                     "CREATE INDEX cells_name ON cells USING gin "
                     "(name marrowfield_gin_ops)", "ANALYZE cells"])
    build_ms = index[1][1]
    scan = ["SET enable_bitmapscan = off", "EXPLAIN (COSTS OFF) " + query,
            check] + [query] * REPEATS
    indexed = ["SET enable_seqscan = off", "EXPLAIN (COSTS OFF) " + query,
               check] + [query] * REPEATS
    s = session(scan)
    i = session(indexed)
    assert "Seq Scan" in "\n".join(s[1][0]), s[1][0]
    assert "Bitmap Index Scan" in "\n".join(i[1][0]), i[1][0]
    scan_ms = median_time(s, 3, REPEATS)
    index_ms = median_time(i, 3, REPEATS)
    same = s[2][0] == i[2][0]
    return {"rows": int(index[0][0][0]), "found": s[2][0][0].split()[0],
            "scan_ms": scan_ms, "index_ms": index_ms, "same": same,
            "build_ms": build_ms}


def self_join(distinct):
    session(["CREATE INDEX full_names_name ON full_names USING gin "
             "(name marrowfield_gin_ops)", "ANALYZE full_names",
             "CREATE TABLE sample AS SELECT id, name FROM full_names "
             "ORDER BY md5(id::text) LIMIT %d" % EXHAUSTIVE_SAMPLE])
    n = int(session(["SELECT count(*) FROM full_names"])[0][0][0])
    # The exhaustive join of the sample: every row scored against each
    # sample value, in one process, as the exhaustive self-join would.
    exhaustive = session([
        "SET max_parallel_workers_per_gather = 0",
        "CREATE TABLE exhaustive AS WITH scored AS MATERIALIZED ("
        "SELECT s.id AS a, f.id AS b, marrowfield_score(f.name, s.name) AS "
        "score FROM sample s CROSS JOIN full_names f WHERE f.id <> s.id) "
        "SELECT * FROM scored WHERE score >= 60"])
    per_pair_ms = exhaustive[1][1] / (EXHAUSTIVE_SAMPLE * (n - 1))
    recall = {}
    for accuracy in (60, 70, 80, 90):
        r = session([
            "SET marrowfield.accuracy = %d" % accuracy,
            "SET enable_seqscan = off",
            "CREATE TEMP TABLE found AS SELECT s.id AS a, f.id AS b FROM "
            "sample s JOIN full_names f ON f.name %~ s.name WHERE f.id <> s.id",
            "SELECT count(*) || ' ' || count(f.a) FROM exhaustive e LEFT JOIN "
            "found f USING (a, b) WHERE e.score >= %d" % accuracy,
            "SELECT count(*) FROM found f LEFT JOIN exhaustive e USING (a, b) "
            "WHERE e.a IS NULL OR e.score < %d" % accuracy])
        pairs, kept = map(int, r[3][0][0].split())
        recall[accuracy] = (pairs, kept, int(r[4][0][0]))
    # One process, as the exhaustive cost was measured.
    join = session([
        "SET max_parallel_workers_per_gather = 0",
        "SET enable_seqscan = off",
        "EXPLAIN (COSTS OFF) SELECT a.id, b.id FROM full_names a JOIN "
        "full_names b ON b.name %~ a.name WHERE a.id < b.id",
        "SET enable_seqscan = on",
        "SELECT count(*) FROM full_names a JOIN full_names b "
        "ON b.name %~ a.name WHERE a.id < b.id"])
    assert "Bitmap Index Scan" in "\n".join(join[2][0]), join[2][0]
    return {"n": n, "per_pair_ms": per_pair_ms,
            "exhaustive_ms": per_pair_ms * n * (n - 1) / 2,
            "join_ms": join[4][1], "pairs": int(join[4][0][0]),
            "recall": recall}


def per_row():
    floor = "SELECT sum(length(name)) FROM warm"
    cases = {
        "marrowfield_score": "SELECT sum(marrowfield_score(name, 'Smith')) FROM warm",
        "levenshtein": "SELECT sum(levenshtein(name, 'Smith')) FROM warm",
        "dmetaphone": "SELECT count(dmetaphone(name)) FROM warm",
    }
    statements = ["SET max_parallel_workers_per_gather = 0"]
    statements += list(cases.values())  # warm-up: load, transcribe, cache
    order = []
    for _ in range(REPEATS):
        for name, sql in [("floor", floor)] + list(cases.items()):
            statements.append(sql)
            order.append(name)
    results = session(statements)[1 + len(cases):]
    times = {}
    for name, (_, ms) in zip(order, results):
        times.setdefault(name, []).append(ms)
    rows = 100000
    floor_ns = statistics.median(times["floor"]) * 1e6 / rows
    return {name: statistics.median(times[name]) * 1e6 / rows - floor_ns
            for name in cases}


COST_ROWS = 200000
COST_CASES = [
    ("marrowfield_score(text, text)", "marrowfield_score(a, b)"),
    ("marrowfield_score(..., 'tolerant', ...)",
     "marrowfield_score(a, b, 'tolerant')"),
    ("marrowfield_score(..., whole_cell => false, fold => true)",
     "marrowfield_score(a, b, 'tolerant', false, true)"),
    ("marrowfield_sounds_like", "(a %~ b)::int"),
    ("marrowfield_phones", "cardinality(marrowfield_phones(a))"),
    ("marrowfield_code", "length(marrowfield_code(a))"),
    ("marrowfield_match", "(marrowfield_match(b, 'the ' || a || ' and ' || b)).score"),
    ("marrowfield_keys", "cardinality(marrowfield_keys(a))"),
    ("marrowfield_fold", "length(marrowfield_fold(a))"),
    ("levenshtein (fuzzystrmatch)", "levenshtein(a, b)"),
]


def function_costs(sample_names):
    """Prints the measured cost of each function, in units of length()."""
    subprocess.run(["psql", "-X", "-q", "-d", "postgres", "-c",
                    "CREATE DATABASE bench"], check=True)
    with open(sample_names, encoding="utf-8") as f:
        names = [l.split("\t")[1].strip() for l in f.readlines()[1:]
                 if "\t" in l]
    with tempfile.NamedTemporaryFile("w", suffix=".tsv", delete=False,
                                     encoding="utf-8") as f:
        for k in range(COST_ROWS):
            f.write("%s\t%s\n" % (names[k % len(names)],
                                   names[(k * 7 + 3) % len(names)]))
        rows_file = f.name
    setup = ["CREATE EXTENSION marrowfield", "CREATE EXTENSION fuzzystrmatch",
             "CREATE TABLE pairs (a text, b text)",
             "\\copy pairs FROM '%s'" % rows_file,
             "VACUUM ANALYZE pairs",
             "SET max_parallel_workers_per_gather = 0",
             "SET marrowfield.cache_size = '16MB'"]
    cases = [("scan", "0"), ("length", "length(a)")] + COST_CASES
    statements = setup + ["SELECT sum(%s) FROM pairs" % e for _, e in cases]
    order = []
    for _ in range(REPEATS):
        for name, expression in cases:
            statements.append("SELECT sum(%s) FROM pairs" % expression)
            order.append(name)
    try:
        results = session(statements)[len(setup) + len(cases):]
    finally:
        os.unlink(rows_file)
    times = {}
    for name, (_, ms) in zip(order, results):
        times.setdefault(name, []).append(ms)
    scan = statistics.median(times["scan"])
    unit = statistics.median(times["length"]) - scan
    print("| Function | ns a call | cost (length() = 1) |")
    print("|---|---|---|")
    for name, _ in [("length", "")] + COST_CASES:
        call = statistics.median(times[name]) - scan
        print("| %s | %.0f | %.0f |" % (name, call * 1e6 / COST_ROWS,
                                        call / unit))
    return 0


def main():
    if sys.argv[1] == "costs":
        return function_costs(sys.argv[2])
    cells, full_names, distinct, sample_names = sys.argv[1:5]
    load(cells, full_names, sample_names)
    smith = smith_query()
    join = self_join(int(distinct))
    costs = per_row()

    print("| Measurement | Figure |")
    print("|---|---|")
    print("| `name %%~ 'Smith'` over %d rows: scan / index (%s rows, same "
          "rows both ways: %s) | %.0f x (%.0f ms / %.1f ms) |"
          % (smith["rows"], smith["found"], "yes" if smith["same"] else "NO",
             smith["scan_ms"] / smith["index_ms"], smith["scan_ms"],
             smith["index_ms"]))
    print("| GIN index build over %d rows | %.1f s |"
          % (smith["rows"], smith["build_ms"] / 1000))
    print("| Self-join of %d distinct full names: exhaustive (extrapolated "
          "from %d values x every row, %.2f us a pair) / through the index "
          "(%d pairs at 60) | %.0f x (%.0f s / %.1f s) |"
          % (join["n"], EXHAUSTIVE_SAMPLE, join["per_pair_ms"] * 1000,
             join["pairs"], join["exhaustive_ms"] / join["join_ms"],
             join["exhaustive_ms"] / 1000, join["join_ms"] / 1000))
    for accuracy, (pairs, kept, extra) in join["recall"].items():
        print("| Recall of the indexed join at %d (sample of %d values) | "
              "%.2f %% (%d of %d pairs; %d extra) |"
              % (accuracy, EXHAUSTIVE_SAMPLE,
                 100.0 * kept / pairs if pairs else 100.0, kept, pairs, extra))
    for name in ("levenshtein", "dmetaphone"):
        print("| Per warm row: marrowfield_score / %s | %.1f x (%.0f ns / "
              "%.0f ns) |" % (name, costs["marrowfield_score"] / costs[name],
                              costs["marrowfield_score"], costs[name]))
    ok = (smith["same"] and smith["scan_ms"] / smith["index_ms"] >= 50 and
          join["exhaustive_ms"] / join["join_ms"] >= 100 and
          all(p == 0 or k / p >= 0.995
              for p, k, _ in join["recall"].values()))
    print("targets met" if ok else "TARGETS NOT MET")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
