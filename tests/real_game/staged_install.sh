#!/usr/bin/env bash
# An installation moved away from its prefix (a staging root) and started
# through its launcher from another folder: the game finds the staged data,
# stays in the folder it was started in, and a relative --record lands there;
# the staged kuzari-replay, from there too, verifies that recording.
#   staged_install.sh CMAKE BUILD_DIR X11_PROBE
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
cmake=$1 build=$2 probe=$3
. "$(dirname "$0")/lib.sh"
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy

stage="$scratch/stage"
"$cmake" --install "$build" --prefix "$stage" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log"; echo "FAIL the staged install"; exit 1; }
elsewhere="$scratch/elsewhere"
mkdir -p "$elsewhere"

start_game "$elsewhere" "$stage/bin/kuzari" --window --record rel.txt
if ! wait_for_window; then
  fail "no window: $(tail -n 3 "$game_log")"
else
  tr '\0' '\n' <"/proc/$game_pid/environ" | grep -qx "KUZARI_DATA=$stage/bin/../share/kuzari" ||
    fail "the launcher did not point the game at the staged data: $(tr '\0' '\n' <"/proc/$game_pid/environ" | grep KUZARI)"
  [ "$(readlink "/proc/$game_pid/cwd")" = "$elsewhere" ] || fail "the game left the folder it was started in"
  wait_for_event '^title 3$' || fail "the title's menu never came"
  xdotool key Escape
  if ! wait_for_exit 10; then
    fail "still running 10 s after Escape"
  elif [ "$game_status" -ne 0 ]; then
    fail "exit status $game_status"
  fi
fi
stop_game
grep -qE '^# seed [0-9]+$' "$elsewhere/rel.txt" 2>/dev/null ||
  fail "--record rel.txt was not written in the folder the game was started in"
[ -e "$stage/share/kuzari/rel.txt" ] && fail "--record rel.txt was written into the data folder"
grep -q 'ファイルが見つかりませーん\|is in none of' "$game_log" && fail "the game did not find its data: $(cat "$game_log")"
verdict=$(cd "$elsewhere" && env -u KUZARI_DATA "$stage/bin/kuzari-replay" --verify rel.txt 2>&1) ||
  fail "the staged kuzari-replay did not verify the recording: $verdict"
[ $failures -eq 0 ] && echo "ok   started from elsewhere, recorded to $elsewhere/rel.txt"
[ $failures -eq 0 ]
