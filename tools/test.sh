#!/usr/bin/env bash
# Runs the tests in stages: every stage when none is named, else the named
# ones, always in the order of the table below. Each stage prints its time
# at its end, and the run ends with a table of the stages, their results
# and seconds, also when a stage fails; the first failing stage stops the
# run. Expects tools/setup.sh to have run. `tools/test.sh --help` lists the
# stages.
#
# A stage is one entry in STAGES (name, whether it uses the normal build in
# build/, one line for --help) and a function stage_<name> that runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

readonly STAGES=(
  # name      build/  what it runs
  "normal     yes     the RelWithDebInfo build in build/ and every CTest test"
  "packages   yes     the Debian packages and the wheel: built, checked, installed, smoke-tested, removed; built again from a group-writable tree"
  "asan       no      the CTest tests in a Debug build with AddressSanitizer and UndefinedBehaviorSanitizer"
  "postgres   yes     the PostgreSQL extension's regression suite in a throwaway cluster"
  "valgrind   yes     the engine's tests under valgrind"
  "tsan       no      the thread tests with ThreadSanitizer"
  "windows    no      the XLL, the installer and their tests under Wine"
  "windows32  no      the 32-bit XLL, the installer and their tests under 32-bit Wine in a throwaway Debian root"
  "bench      no      a brief smoke run of the benchmarks (timings decide nothing here)"
  "fuzz       no      the libFuzzer targets, MARROWFIELD_FUZZ_SECONDS each (default 20)"
)

stage_normal() {
  ctest --test-dir build --output-on-failure -j"$jobs"
}

stage_packages() {
  bash tools/package_test.sh
  bash tools/package_umask_test.sh
}

stage_asan() {
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMARROWFIELD_SANITIZE=ON >/dev/null
  cmake --build build-asan -j"$jobs"
  # Python cannot load a sanitized library without preloading the runtime;
  # the names corpus checks measure quality, not memory safety, and the
  # 10 000-name worksheet agreement takes minutes there for what the smaller
  # worksheet function tests already cover; they run in the normal stage,
  # as do the checks of the repository and the tools, which run no code of
  # ours, and the golden battery of the command line, nearly 500 runs of
  # the program (minutes there) whose code the program tests cover.
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" \
    -E '(python|reference|names_|SheetFunctionSpreadsheet|markdown_links|deb_permissions|golden_cli)'
}

stage_postgres() {
  bash tools/postgres_test.sh
}

stage_valgrind() {
  local t
  for t in engine_tests engine_api_tests c_header_test; do
    valgrind --error-exitcode=1 --leak-check=full -q \
      --errors-for-leak-kinds=definite,indirect \
      "build/tests/engine/$t" --gtest_brief=1 >/dev/null
    echo "$t: clean"
  done
}

stage_tsan() {
  cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARROWFIELD_TSAN=ON >/dev/null
  cmake --build build-tsan -j"$jobs" --target engine_threads_tests \
    cache_threads_tests lists_tests library_c_api_tests dialog_tests
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    ctest --test-dir build-tsan --output-on-failure \
    -R '^(engine_threads_tests|cache_threads_tests|WordByWordAndWholeCell/ThreadsTest\..*|ListsTest\.LargeList_.*|DistinctTextsTest\..*|WordsApi\.ManyThreads_.*|FindDuplicatesSheet\..*|DialogCommands\.Duplicates_.*)$'
}

stage_windows() {
  bash tools/windows/ci.sh
}

# A stage of its own rather than a step of "windows": it needs root (chroot,
# mounts) and, the first time, Debian's mirror and a few minutes to make
# the root, and "windows" stays runnable without either.
stage_windows32() {
  bash tools/windows/wine32_tests.sh
}

stage_bench() {
  cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMARROWFIELD_BUILD_BENCH=ON >/dev/null
  cmake --build build-bench -j"$jobs" --target engine_bench sheet_search_bench \
    lists_bench records_bench sheet_function_bench duplicates_bench \
    libmarrowfield marrowfield
  build-bench/bench/engine_bench --benchmark_min_time=0.01 >/dev/null
  build-bench/bench/sheet_search_bench --benchmark_min_time=0.01 >/dev/null
  build-bench/bench/sheet_function_bench --benchmark_min_time=0.01 >/dev/null
  MARROWFIELD_LISTS_BENCH_DISTINCT=2000 build-bench/bench/lists_bench >/dev/null
  MARROWFIELD_RECORDS_BENCH_COUNT=20000 build-bench/bench/records_bench >/dev/null
  MARROWFIELD_DUPLICATES_BENCH_DISTINCT=1000 build-bench/bench/duplicates_bench >/dev/null
  # Fails when the Python runs and the command line disagree.
  /usr/bin/python3 bench/python_bench.py --smoke --build build-bench >/dev/null
  echo "benchmarks ran"
}

stage_fuzz() {
  bash tools/fuzz.sh "${MARROWFIELD_FUZZ_SECONDS:-20}"
}

# The normal build, configured as tools/setup.sh configures it when it is
# not there yet, and brought up to date: the stages that test it must not
# test a stale or half-built tree.
normal_build() {
  if [[ ! -f build/CMakeCache.txt ]]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  cmake --build build -j"$jobs"
}

names=() uses_build=() about=()
for entry in "${STAGES[@]}"; do
  read -r name build text <<<"$entry"
  names+=("$name") uses_build+=("$build") about+=("$text")
done

usage() {
  echo "usage: tools/test.sh [STAGE...]"
  echo "Runs the named stages, or all of them, in this order:"
  local i
  for i in "${!names[@]}"; do
    printf '  %-10s %s\n' "${names[$i]}" "${about[$i]}"
  done
}

# Every name is checked before anything runs: a typo must not cost the
# minutes of the stages before it.
selected=()
for arg in "$@"; do
  case $arg in
    -h | --help) usage; exit 0 ;;
  esac
  known=no
  for name in "${names[@]}"; do [[ $arg == "$name" ]] && known=yes; done
  if [[ $known == no ]]; then
    echo "tools/test.sh: unknown stage '${arg}'; the stages are: ${names[*]}" >&2
    exit 2
  fi
done
for i in "${!names[@]}"; do
  if (($# == 0)) || [[ " $* " == *" ${names[$i]} "* ]]; then selected+=("$i"); fi
done

stage_index() {
  local i
  for i in "${!names[@]}"; do [[ ${names[$i]} == "$1" ]] && echo "$i"; done
}

results=() seconds=()
for i in "${!names[@]}"; do results[i]="not run" seconds[i]="-"; done
summary() {
  local i
  echo
  printf '%-10s %-8s %8s\n' stage result seconds
  for i in "${selected[@]}"; do
    printf '%-10s %-8s %8s\n' "${names[$i]}" "${results[$i]}" "${seconds[$i]}"
  done
}
interrupted() {
  [[ -z ${current:-} ]] || results[current]=stopped seconds[current]=$((SECONDS - start))
  summary
  exit 130
}
trap interrupted INT TERM

# The 32-bit Wine root is made once, the first time mostly by downloading
# and unpacking Debian's packages: begun now, in the background, it is
# ready (or nearly) when the windows32 stage asks for it, instead of
# adding minutes of its own. The stage's own request waits on the root's
# lock and then reuses it, or makes it again after a failure here, with
# its errors in view.
root_maker="" root_log=""
if [[ " ${selected[*]} " == *" $(stage_index windows32) "* ]] &&
    (($(id -u) == 0)) && command -v debootstrap >/dev/null; then
  root_log=$(mktemp "${TMPDIR:-/tmp}/marrowfield-wine32-root.XXXXXX")
  # A process group of its own, so that stopping it stops debootstrap and
  # apt inside it too, and its own clean-up then removes the half root.
  setsid nice bash tools/windows/wine32_root.sh >"$root_log" 2>&1 &
  root_maker=$!
  echo "== the 32-bit Wine root: made, or found made, in the background =="
fi
stop_root_maker() {
  if [[ -n $root_maker ]]; then
    kill -TERM -- "-${root_maker}" 2>/dev/null || true
    wait "$root_maker" 2>/dev/null || true
  fi
  [[ -z $root_log ]] || rm -f "$root_log"
}
trap stop_root_maker EXIT

for i in "${selected[@]}"; do
  name=${names[$i]} current=$i
  echo "== ${name}: ${about[$i]} =="
  start=$SECONDS
  # A subshell with errexit of its own: the first failing command ends the
  # stage, not this script, so that the summary is still printed. (Run as
  # the condition of an if or ||, errexit would be ignored inside.)
  set +e
  (
    set -e
    if [[ ${uses_build[$i]} == yes ]]; then normal_build; fi
    "stage_${name}"
  )
  status=$?
  set -e
  seconds[i]=$((SECONDS - start))
  if ((status != 0)); then
    results[i]=FAILED
    echo "== ${name}: FAILED after ${seconds[$i]} s (exit status ${status}) =="
    summary
    exit "$status"
  fi
  results[i]=passed
  echo "== ${name}: passed in ${seconds[$i]} s =="
done
summary
