#!/usr/bin/env bash
# Plays each script with two builds of kuzari-replay (the host's and one for
# another machine, run through its emulator) and compares what they wrote:
# the trace with what really sounds, byte for byte, the exit status and the
# messages. Any difference is the game behaving differently on that machine.
#   compare_traces.sh HOST_REPLAY OTHER_REPLAY DATA_DIR SCRIPT...
# A script's options are in SCRIPT's .args beside it when there is one (as the
# test suite keeps them), else it plays with its own seed.
set -uo pipefail
[ $# -ge 4 ] || { echo "usage: compare_traces.sh HOST_REPLAY OTHER_REPLAY DATA_DIR SCRIPT..." >&2; exit 2; }
host=$1 other=$2 data=$3
shift 3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# play REPLAY SCRIPT OUT: OUT.trace, OUT.err, OUT.status.
play() {
  local replay=$1 script=$2 out=$3 arguments=()
  [ -f "${script%.*}.args" ] && read -r -a arguments <"${script%.*}.args"
  "$replay" "${arguments[@]}" --data "$data" --trace-playing --trace "$out.trace" "$script" \
    >/dev/null 2>"$out.err"
  echo $? >"$out.status"
}

same=0 different=0
for script in "$@"; do
  play "$host" "$script" "$work/host"
  play "$other" "$script" "$work/other"
  # The messages name the program; only what follows its name must agree.
  sed -i 's/^[^:]*kuzari-replay: //' "$work/host.err" "$work/other.err"
  problem=""
  if ! cmp -s "$work/host.status" "$work/other.status"; then
    problem="exit status $(cat "$work/host.status") here, $(cat "$work/other.status") there"
  elif ! cmp -s "$work/host.err" "$work/other.err"; then
    problem="messages differ: $(diff "$work/host.err" "$work/other.err" | head -n 4 | tr '\n' ' ')"
  elif ! cmp -s "$work/host.trace" "$work/other.trace"; then
    # The first line that differs, from a little before its first differing byte.
    where=$(cmp "$work/host.trace" "$work/other.trace" | sed -E 's/.*byte ([0-9]+), line ([0-9]+).*/\1 \2/')
    read -r byte line <<<"$where"
    column=$((byte - $(head -n $((line - 1)) "$work/host.trace" | wc -c)))
    from=$((column > 80 ? column - 80 : 1))
    problem="traces differ at line $line, column $column:
  here:  ...$(sed -n "${line}p" "$work/host.trace" | cut -c "$from-$((column + 120))")
  there: ...$(sed -n "${line}p" "$work/other.trace" | cut -c "$from-$((column + 120))")"
  elif [ ! -s "$work/host.trace" ] && [ "$(cat "$work/host.status")" = 0 ]; then
    problem="no trace written"
  fi
  if [ -n "$problem" ]; then
    echo "DIFFERENT $script: $problem"
    different=$((different + 1))
  else
    echo "same $script ($(wc -l <"$work/host.trace") frames)"
    same=$((same + 1))
  fi
done
echo "traces: $same the same, $different different"
[ "$different" -eq 0 ]
