#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds
# (default 20), starting from the seeds under tests/fuzz/corpus/. Any crash,
# leak or broken promise fails the run. Example: tools/fuzz.sh 600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMARROWFIELD_FUZZ=ON -DMARROWFIELD_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_all

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for binary in $(find build-fuzz -type f -perm -u+x -name 'fuzz_*' | sort); do
  name=$(basename "$binary")
  seeds=$(find tests -type d -path "*/corpus/$name" | head -n 1)
  mkdir -p "$work/$name"
  echo "== $name: ${seconds}s =="
  if ! "$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/$name-" \
      "$work/$name" ${seeds:+"$seeds"} >"$work/$name.log" 2>&1; then
    tail -n 40 "$work/$name.log"
    echo "$name found a problem; the input is kept as build-fuzz/$name-*" >&2
    exit 1
  fi
  grep -E 'number_of_executed_units|peak_rss' "$work/$name.log"
done
