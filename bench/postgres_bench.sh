#!/usr/bin/env bash
# The PostgreSQL extension's benchmark: builds and installs the extension,
# starts a throwaway cluster (temporary folder, Unix socket only; stopped
# and removed on exit), generates the name corpora with
# tools/names_corpus/ and runs bench/postgres_bench.py against it, which
# prints the table of ratios. Expects tools/setup.sh to have run.
#   bench/postgres_bench.sh [DISTINCT]   (default 200000 distinct names
#                                         for the self-join)
#   bench/postgres_bench.sh costs        (the COST of every function)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = costs ]; then
  source tools/postgres_install.sh
  source tools/postgres_cluster.sh
  python3 bench/postgres_bench.py costs tests/data/names/names.tsv
  exit
fi
distinct=${1:-200000}

data=$PWD/build/postgres_bench
mkdir -p "$data"
# One name per cell, repeats as in a user's column, for the 1 000 000 rows;
# full names in groups of spellings (about 3.9 per group) for the self-join.
[ -s "$data/cells.csv" ] ||
  tools/names_corpus/generate.sh --seed 5 --cells 1000000 --out "$data/cells.csv"
groups=$(( distinct * 10 / 38 + 1 ))
[ -s "$data/full_$distinct.tsv" ] ||
  tools/names_corpus/generate.sh --kind full --seed 5 --groups "$groups" \
    --out "$data/full_$distinct.tsv"

source tools/postgres_install.sh
source tools/postgres_cluster.sh
python3 bench/postgres_bench.py "$data/cells.csv" "$data/full_$distinct.tsv" \
  "$distinct" tests/data/names/names.tsv
