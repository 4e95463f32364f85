#!/usr/bin/env bash
# Runs every test: the normal build, then a Debug build with AddressSanitizer
# and UndefinedBehaviorSanitizer. Expects tools/setup.sh to have run.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

echo "== Tests (RelWithDebInfo) =="
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== Release packages: built, installed, smoke-tested, removed =="
bash tools/package_test.sh

echo "== Tests (Debug, AddressSanitizer + UndefinedBehaviorSanitizer) =="
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMARROWFIELD_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
# Python cannot load a sanitized library without preloading the runtime;
# the names corpus checks measure quality, not memory safety, and the
# 10 000-name worksheet agreement takes minutes there for what the smaller
# worksheet function tests already cover; they run in the normal build above.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" \
  -E '(python|reference|names_|SheetFunctionSpreadsheet)'

echo "== PostgreSQL extension (a throwaway cluster) =="
tools/postgres_test.sh

echo "== Engine tests under valgrind =="
for t in engine_tests engine_api_tests c_header_test; do
  valgrind --error-exitcode=1 --leak-check=full -q \
    --errors-for-leak-kinds=definite,indirect \
    "build/tests/engine/$t" --gtest_brief=1 >/dev/null
  echo "$t: clean"
done

echo "== Thread tests (ThreadSanitizer) =="
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARROWFIELD_TSAN=ON >/dev/null
cmake --build build-tsan -j"$jobs" --target engine_threads_tests \
  cache_threads_tests lists_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir build-tsan --output-on-failure \
  -R '^(engine_threads_tests|cache_threads_tests|WordByWordAndWholeCell/ThreadsTest\..*|ListsTest\.LargeList_.*|DistinctTextsTest\..*)$'

echo "== Windows: the XLL, the installer and their tests under Wine =="
bash tools/windows/ci.sh

echo "== Benchmarks (a brief smoke run; timings decide nothing here) =="
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMARROWFIELD_BUILD_BENCH=ON >/dev/null
cmake --build build-bench -j"$jobs" --target engine_bench sheet_search_bench \
  lists_bench sheet_function_bench
build-bench/bench/engine_bench --benchmark_min_time=0.01 >/dev/null
build-bench/bench/sheet_search_bench --benchmark_min_time=0.01 >/dev/null
build-bench/bench/sheet_function_bench --benchmark_min_time=0.01 >/dev/null
MARROWFIELD_LISTS_BENCH_DISTINCT=2000 build-bench/bench/lists_bench >/dev/null
echo "benchmarks ran"

echo "== Fuzzing (${MARROWFIELD_FUZZ_SECONDS:-20}s per target) =="
tools/fuzz.sh "${MARROWFIELD_FUZZ_SECONDS:-20}"
