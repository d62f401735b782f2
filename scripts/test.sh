#!/usr/bin/env bash
# Installs what is missing, builds Kuzari and runs the whole test suite twice,
# in an ordinary build and under AddressSanitizer and UndefinedBehaviorSanitizer,
# both with warnings as errors; builds the web edition and runs its tests in
# headless Chromium; replays the committed scripts with an arm64 build under
# qemu and compares their traces with this machine's (scripts/cross.sh arm64
# --quick; the whole cross suite is run by hand); then runs each fuzz target
# for a short while.
# Every stage runs even when one before it failed; the last line counts the
# tests passed and failed, and the exit status is non-zero when anything failed.
#   --busy           keep both cores busy with two other processes the whole run,
#                    to show that no test leans on the machine being quiet
#   --stages LIST    only these, comma-separated: ordinary, sanitizer, headless, web, cross, fuzz
#   --figures        write the stages' times into docs/figures.md afterwards
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
jobs="$(nproc)"
started=$SECONDS

all_stages="ordinary,sanitizer,headless,web,cross,fuzz"
busy="" stages=$all_stages write_figures=""
while [ $# -gt 0 ]; do
  case "$1" in
    --busy) busy=1 ;;
    --stages) stages=${2:?--stages needs a list}; shift ;;
    --figures) write_figures=1 ;;
    *) echo "usage: scripts/test.sh [--busy] [--stages LIST] [--figures]" >&2; exit 2 ;;
  esac
  shift
done
[ -z "$busy" ] || [ -z "$write_figures" ] || { echo "test.sh: --figures are times at rest, not with --busy" >&2; exit 2; }
wanted() { [[ ",$stages," == *",$1,"* ]]; }

: >"$(mkdir -p "$log_dir" && echo "$log_dir/times.tsv")"
echo "a whole run takes about $(minutes_at_rest) at rest on two cores; a stage much slower than" \
  "its time at rest says the machine's load ($(figures_file))"
if [ -n "$busy" ]; then
  # Two loops at the ordinary priority, each taking a core, gone with the run.
  busy_pids=()
  for _ in 1 2; do
    bash -c 'while :; do :; done' &
    busy_pids+=($!)
  done
  trap 'kill "${busy_pids[@]}" 2>/dev/null' EXIT
  echo "both cores kept busy by two other processes (${busy_pids[*]})"
fi

passed=0
failed=0
failed_stages=()

# run_suite DIR NAME CMAKE-ARGS...: builds in DIR and runs its ctest suite.
run_suite() {
  local dir=$1 name=$2
  shift 2
  if ! run_stage "configure-$name" "configuring the $name build..." \
      cmake -S . -B "$dir" -DKUZARI_WERROR=ON "$@" ||
     ! run_stage "build-$name" "building the $name build..." cmake --build "$dir" -j"$jobs"; then
    failed_stages+=("$name build")
    return
  fi
  local count log="$log_dir/ctest-$name.log" status=0
  count=$(ctest --test-dir "$dir" -N | sed -n 's/^Total Tests: //p')
  echo "running ${count:-the} tests in the $name build..."
  mkdir -p "$log_dir"
  local began=$SECONDS
  with_progress "$log" ctest --test-dir "$dir" -j"$jobs" --output-on-failure || status=$?
  note_time "ctest-$name" $((SECONDS - began))
  # ctest's summary: "100% tests passed, 0 tests failed out of N".
  local summary total bad
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + ${total:-0} - ${bad:-0}))
  failed=$((failed + ${bad:-0}))
  echo "  ${summary:-no summary from ctest}"
  if [ "$status" -ne 0 ]; then
    failed_stages+=("$name tests")
    # The failing tests' own output, as ctest printed it.
    sed -n '/The following tests FAILED/,$p' "$log" >&2
    # Each failing check's own line, so a run's summary says why as well as what.
    grep -E '^(FAIL|\[  FAILED  \]|.*(ERROR: AddressSanitizer|runtime error:))' "$log" | sort -u | head -n 20 | sed 's/^/  | /' >&2
    echo "  the whole run: $log" >&2
  fi
}

# run_headless_build: the tools and the in-process tests build with the
# desktop left out, without SDL, FluidSynth, libinih or X11 being looked for.
run_headless_build() {
  local dir=build-headless
  if run_stage configure-headless "configuring the headless build (no desktop)..." \
       cmake -S . -B "$dir" -DKUZARI_WERROR=ON -DKUZARI_DESKTOP=OFF &&
     run_stage build-headless "building kuzari-replay and the tests without the desktop..." \
       cmake --build "$dir" -j"$jobs" --target kuzari-replay kuzari_tests &&
     ! grep -qiE '^(SDL2|SDL2_MIXER|FLUIDSYNTH|INIH|X11)_FOUND' "$dir/CMakeCache.txt"; then
    passed=$((passed + 1))
    echo "  the headless build needs no desktop library"
  else
    failed=$((failed + 1))
    failed_stages+=("headless build")
  fi
}

# count_summary LOG WHAT: sets summary to LOG's last "WHAT: N passed, N
# failed" line and adds its counts to the run's.
count_summary() {
  summary=$(grep -E "^$2: [0-9]+ passed, [0-9]+ failed" "$1" | tail -n 1)
  [ -n "$summary" ] || return 0
  passed=$((passed + $(sed -E 's/.*: ([0-9]+) passed.*/\1/' <<<"$summary")))
  failed=$((failed + $(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$summary")))
}

# run_summed LOG TIME WHAT STAGE COMMAND...: runs COMMAND into LOG, its time
# kept as TIME, and counts its closing "WHAT: N passed, N failed" line; when it
# fails, STAGE is named and its failing checks (or the log's end) shown.
run_summed() {
  local log=$1 time=$2 what=$3 stage=$4 status=0 began=$SECONDS summary
  shift 4
  with_progress "$log" "$@" || status=$?
  note_time "$time" $((SECONDS - began))
  count_summary "$log" "$what"
  echo "  ${summary:-no summary in $log}"
  [ "$status" -ne 0 ] || return 0
  failed_stages+=("$stage")
  grep -E '^FAIL' "$log" >&2 || tail -n 30 "$log" | sed 's/^/  | /' >&2
  echo "  the whole run: $log" >&2
}

# run_web: builds the site (scripts/web.sh) and runs the browser tests, which
# hold the page against the ordinary build's kuzari-replay.
run_web() {
  if ! scripts/web.sh; then
    failed_stages+=("web build")
    return
  fi
  echo "running the browser tests..."
  run_summed "$log_dir/browser-tests.log" browser-tests "browser tests" "browser tests" \
    /usr/bin/python3 tests/web/browser_test.py --site build-web/site \
    --replay build/kuzari-replay --figures "$log_dir/web-figures.json"
}

# The arm64 build's traces against this machine's, on the committed scripts.
run_cross() {
  echo "comparing an arm64 build's traces under qemu with this machine's..."
  run_summed "$log_dir/cross-arm64.log" cross-arm64 tests "arm64 traces" scripts/cross.sh arm64 --quick
}

# web.sh's closing hint about serving the site is for people building it by hand.
export KUZARI_IN_TEST_RUN=1
scripts/setup.sh test || failed_stages+=("setup")

wanted ordinary && run_suite build ordinary -DCMAKE_BUILD_TYPE=RelWithDebInfo
wanted sanitizer && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-sanitize sanitizer -DCMAKE_BUILD_TYPE=Debug -DKUZARI_SANITIZE=ON

wanted headless && run_headless_build
wanted web && run_web
wanted cross && run_cross

if wanted fuzz; then
  echo "fuzzing each target for ${KUZARI_FUZZ_SECONDS:-20} s..."
  began=$SECONDS
  fuzz/run.sh || failed_stages+=("fuzzing")
  note_time fuzzing $((SECONDS - began))
fi
# Only a whole run says how long a whole run takes.
[ "$stages" != "$all_stages" ] || note_time test-run $((SECONDS - started))
[ -z "$write_figures" ] || scripts/figures.py

echo "tests: $passed passed, $failed failed ($(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s)"
if [ ${#failed_stages[@]} -gt 0 ]; then
  echo "failed: ${failed_stages[*]}" >&2
  exit 1
fi
