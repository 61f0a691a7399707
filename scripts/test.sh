#!/usr/bin/env bash
# Builds Veltrane twice (plain, and with AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test in both,
# then runs the threading test under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

run_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DVELTRANE_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_build build
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_build build-asan -DVELTRANE_SANITIZE=ON -DVELTRANE_BUILD_BENCHMARKS=OFF

# ThreadSanitizer: only the tests of threads, states restored against a running process call and
# value texts read on two threads at once.
cmake -S . -B build-tsan -DVELTRANE_WERROR=ON -DVELTRANE_TSAN=ON -DVELTRANE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target processor_thread_tests controller_thread_tests
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j "$jobs" \
  -R '^(StateAgainstProcess|ValueTextsOnTwoThreads)\.'
