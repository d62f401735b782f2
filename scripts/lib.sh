# Sourced by the scripts: a stage prints one line, and its whole output goes to
# a log file that is shown (its end) only when the stage fails.
log_dir=${KUZARI_LOG_DIR:-$PWD/log}

# run_stage NAME MESSAGE COMMAND...: the command's output goes to log/NAME.log.
run_stage() {
  local name=$1 message=$2 status=0
  shift 2
  mkdir -p "$log_dir"
  local log="$log_dir/$name.log"
  echo "$message"
  "$@" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    echo "  failed with status $status; the end of $log:" >&2
    tail -n 60 "$log" | sed 's/^/  | /' >&2
  fi
  return "$status"
}
