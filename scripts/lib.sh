# Sourced by the scripts: a stage prints one line, and its whole output goes to
# a log file that is shown (its end) only when the stage fails. A long stage
# says how far it has come every ten seconds.
log_dir=${KUZARI_LOG_DIR:-$PWD/log}

# progress_of LOG: how far the command writing LOG has come, in its own terms.
progress_of() {
  local log=$1 line
  # One of our own scripts run as a stage: its last progress line and stage.
  line=$(grep -E '^(  \.\.\. |[a-z].*\.\.\.$)' "$log" 2>/dev/null | tail -n 1 | sed -E 's/^  \.\.\. //; s/ \([0-9]+ min [0-9]+ s\)$//')
  [ -n "$line" ] && { echo "$line"; return; }
  # cmake --build: "[ 45%] Building ..."
  line=$(grep -oE '^\[ *[0-9]+%\]' "$log" 2>/dev/null | tail -n 1 | tr -d '[ ]')
  [ -n "$line" ] && { echo "$line built"; return; }
  # ctest: "12/157 Test #12: ..."
  line=$(grep -oE '^ *[0-9]+/[0-9]+ Test' "$log" 2>/dev/null | tail -n 1 | tr -d ' ')
  [ -n "$line" ] && { echo "${line%Test} tests done"; return; }
  # apt-get: each package is unpacked, then set up.
  line=$(grep -cE '^Unpacking ' "$log" 2>/dev/null)
  if [ "${line:-0}" -gt 0 ]; then
    echo "$line packages unpacked, $(grep -cE '^Setting up ' "$log" 2>/dev/null) set up"
    return
  fi
  # The browser tests and the fuzzers: a line for each check or target.
  line=$(grep -cE '^(ok|FAIL|fuzz) ' "$log" 2>/dev/null)
  [ "${line:-0}" -gt 0 ] && { echo "$line checks done"; return; }
  echo "working"
}

# with_progress LOG COMMAND...: runs the command with its output in LOG, and
# prints its progress every ten seconds while it runs. Returns its status.
with_progress() {
  local log=$1 status=0 waited=0
  shift
  "$@" >"$log" 2>&1 &
  local pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    sleep 1
    waited=$((waited + 1))
    if [ $((waited % 10)) -eq 0 ] && kill -0 "$pid" 2>/dev/null; then
      echo "  ... $(progress_of "$log") ($((waited / 60)) min $((waited % 60)) s)"
    fi
  done
  wait "$pid" || status=$?
  return "$status"
}

# The stages' times measured at rest, which the README quotes too.
figures_file() { echo "docs/figures.md"; }

# time_at_rest NAME: the stage's seconds at rest, from the figures' table.
time_at_rest() {
  awk -F'|' -v name="$1" '{ gsub(/ /, "", $2); gsub(/ /, "", $3) } $2 == name && $3 ~ /^[0-9]+$/ { print $3; exit }' \
    "$(figures_file)" 2>/dev/null
}

# minutes_at_rest: the whole test run's time at rest, "N min".
minutes_at_rest() {
  awk -F'|' '{ gsub(/ /, "", $2); gsub(/ /, "", $3) } $2 == "test-run" { print int($3 / 60 + 0.5) " min"; found = 1; exit }
    END { if (!found) print "an unmeasured time" }' "$(figures_file)" 2>/dev/null
}

# note_time NAME SECONDS: kept in log/times.tsv for scripts/figures.sh; a stage
# much slower than at rest says how loaded the machine is, so that a slow run
# is not taken for a broken one.
note_time() {
  local name=$1 seconds=$2 rest
  mkdir -p "$log_dir"
  printf '%s\t%s\t%s\n' "$name" "$seconds" "$(cut -d' ' -f1 /proc/loadavg 2>/dev/null)" >>"$log_dir/times.tsv"
  rest=$(time_at_rest "$name")
  if [ -n "$rest" ] && [ "$seconds" -gt $((rest * 3 / 2 + 20)) ]; then
    echo "  ($seconds s against about $rest s at rest: the load average is $(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null) on $(nproc) cores)"
  elif [ "$seconds" -ge 20 ]; then
    echo "  ($seconds s)"
  fi
}

# run_stage NAME MESSAGE COMMAND...: the command's output goes to log/NAME.log.
run_stage() {
  local name=$1 message=$2 status=0
  shift 2
  mkdir -p "$log_dir"
  local log="$log_dir/$name.log"
  local began=$SECONDS
  echo "$message"
  with_progress "$log" "$@" || status=$?
  # Where a long run's time goes, stage by stage.
  note_time "$name" $((SECONDS - began))
  if [ "$status" -ne 0 ]; then
    echo "  failed with status $status; the end of $log:" >&2
    tail -n 60 "$log" | sed 's/^/  | /' >&2
  fi
  return "$status"
}
