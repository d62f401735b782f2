#!/usr/bin/env bash
# Installs what is missing, builds Kuzari and runs the whole test suite twice:
# once in an ordinary build and once under AddressSanitizer and
# UndefinedBehaviorSanitizer. Then runs each fuzz target for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs="$(nproc)"

passed=0
failed=0
run_suite() {
  local dir="$1"; shift
  echo "== Test suite in $dir"
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  local log="$dir/ctest.log" status=0
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure 2>&1 | tee "$log" || status=$?
  # ctest's summary: "100% tests passed, 0 tests failed out of N".
  local summary total bad
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + ${total:-0} - ${bad:-0}))
  failed=$((failed + ${bad:-0}))
  return "$status"
}

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKUZARI_SANITIZE=ON

if [ -x fuzz/run.sh ]; then
  echo "== Fuzzing"
  fuzz/run.sh
fi

echo "tests: $passed passed, $failed failed"
