#!/usr/bin/env bash
# Runs the names corpus generator, first installing its one npm dependency
# (the pinned @faker-js/faker of package-lock.json) into node_modules/ here
# when it is not there yet. Arguments go to generate.js; see its usage.
#   tools/names_corpus/generate.sh --seed 1 --groups 400 --out names.tsv
#   tools/names_corpus/generate.sh --sample   rewrites tests/data/names/
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

if [ ! -f "$here/node_modules/@faker-js/faker/package.json" ]; then
  (cd "$here" && npm ci --no-audit --no-fund --loglevel=error >&2)
fi

if [ "${1:-}" = "--sample" ]; then
  # The small fixed sample the tests read; its options are part of what it
  # is, so they live here and nowhere else.
  out="${2:-$here/../../tests/data/names}"
  node "$here/generate.js" --seed 1 --groups 400 --variants 4 --out "$out/names.tsv"
  node "$here/generate.js" --kind full --seed 1 --groups 300 --out "$out/full_names.tsv"
  exit 0
fi
exec node "$here/generate.js" "$@"
