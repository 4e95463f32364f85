#!/usr/bin/env bash
# Regenerates the committed names corpus sample into a scratch folder and
# compares it with tests/data/names byte for byte: the sample must be what
# the generator makes, on every machine.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$here/generate.sh" --sample "$scratch"
for f in names.tsv full_names.tsv; do
  cmp "$scratch/$f" "$here/../../tests/data/names/$f"
done
echo "names corpus sample: as generated"
