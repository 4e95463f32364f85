#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds
# (default 20), as many at once as there are cores, starting from the seeds
# under tests/fuzz/corpus/. Any crash, leak or broken promise fails the run.
# Example: tools/fuzz.sh 600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMARROWFIELD_FUZZ=ON -DMARROWFIELD_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_all

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One target a core at a time: each run is bounded by wall-clock time, so
# running them side by side halves the stage on two cores and leaves each
# target its full time on a core of its own.
run_target() {
  local binary=$1 name seeds
  name=$(basename "$binary")
  seeds=$(find tests -type d -path "*/corpus/$name" | head -n 1)
  mkdir -p "$work/$name"
  if "$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/$name-" \
      "$work/$name" ${seeds:+"$seeds"} >"$work/$name.log" 2>&1; then
    echo ok >"$work/$name.status"
  else
    echo failed >"$work/$name.status"
  fi
}

binaries=$(find build-fuzz -type f -perm -u+x -name 'fuzz_*' | sort)
running=0
for binary in $binaries; do
  if ((running >= $(nproc))); then
    wait -n
    running=$((running - 1))
  fi
  echo "== $(basename "$binary"): ${seconds}s =="
  run_target "$binary" &
  running=$((running + 1))
done
wait

# The results in the targets' order, whatever order they ended in.
failed=0
for binary in $binaries; do
  name=$(basename "$binary")
  if [[ $(cat "$work/$name.status" 2>/dev/null) != ok ]]; then
    tail -n 40 "$work/$name.log"
    echo "$name found a problem; the input is kept as build-fuzz/$name-*" >&2
    failed=1
    continue
  fi
  echo "$name:"
  grep -E 'number_of_executed_units|peak_rss' "$work/$name.log"
done
exit "$failed"
