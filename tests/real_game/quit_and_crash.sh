#!/usr/bin/env bash
# The real game ends when it must, whatever it is doing, and loses nothing:
# a quit signal ends it while its main thread is stuck, and one sent twice at
# once ends it as Escape does with its recording committed (an open on a FIFO, a
# huge pad mapping file); a message box's process goes with a killed game; no
# display at all is refused; a crash leaves a black box that kuzari-replay
# plays to the crash's last picture, two crashing at once leave two under a
# long path; and a lost X server ends the game with a
# message, its recording closed and no core.
#   quit_and_crash.sh KUZARI KUZARI_REPLAY DATA_DIR X11_PROBE
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 replay=$2 data=$3 probe=$4
. "$(dirname "$0")/lib.sh"
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy
export XDG_STATE_HOME="$scratch/state" XDG_CONFIG_HOME="$scratch/config"

# closing RECORDING: "FRAME FB" from its closing comment.
closing() { sed -n 's/^# frame \([0-9]*\) fb \([0-9a-f]*\)$/\1 \2/p' "$1"; }

# SIGTERM to a game whose main thread is stuck: gone within 2 s, by the
# signal (143) or by its own shutdown (0).
# The bound is the watchdog's: a second to take the quit, and four for a
# shutdown that has begun (a sanitizer build on a busy machine needs them).
expect_gone_after_term() {
  kill -TERM "$game_pid"
  if ! wait_for_exit 5; then
    fail "$1: still running 5 s after SIGTERM"
    stop_game
  elif [ "$game_status" -ne 143 ] && [ "$game_status" -ne 0 ]; then
    fail "$1: status $game_status after SIGTERM"
  else
    echo "ok   SIGTERM $1 (status $game_status)"
  fi
}

# ---- A FIFO to play back, which no one writes ----
mkfifo "$scratch/fifo"
start_game "$data" "$kuzari" --window --playback "$scratch/fifo"
sleep 1
if kill -0 "$game_pid" 2>/dev/null; then
  expect_gone_after_term "blocked on a FIFO"
else
  # Refused without blocking: as good, if it says so.
  wait_for_exit 1
  [ "$game_status" -ne 0 ] && echo "ok   a FIFO to play back is refused" ||
    fail "a FIFO to play back: status 0 without playing"
  game_pid=""
fi

# ---- Four megabytes of pad mappings ----
mkdir -p "$XDG_CONFIG_HOME/kuzari"
awk 'BEGIN { for (i = 0; i < 40000; i++)
  printf "03000000%08x%016x,Pad %d,a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,leftx:a0,lefty:a1,platform:Linux,\n", i, i * 7919, i }' \
  >"$XDG_CONFIG_HOME/kuzari/gamecontrollerdb.txt"
start_game "$data" "$kuzari" --window --record "$scratch/mappings.txt"
sleep 1.5
if kill -0 "$game_pid" 2>/dev/null; then
  expect_gone_after_term "while the pad mappings load"
  [ -n "$(closing "$scratch/mappings.txt")" ] || fail "the recording was not closed: $(cat "$scratch/mappings.txt")"
else
  fail "the game with many pad mappings ended by itself: $(cat "$game_log")"
fi
rm -r "${XDG_CONFIG_HOME:?}/kuzari"

# ---- One quit sent twice at once, as `timeout` sends it: ended as Escape ends it ----
# Sent together, the two would merge into one pending signal; a moment apart
# the game takes both, as it does under load.
send_twice() {
  kill -TERM "$game_pid"
  sleep 0.05
  kill -TERM "$game_pid"
}
start_game "$data" "$kuzari" --window --record "$scratch/twice.txt"
if wait_for_window; then
  send_twice
  wait_for_exit 10 || fail "still running 10 s after two SIGTERMs"
  [ "${game_status:-1}" -eq 0 ] || fail "status ${game_status:-?} after two SIGTERMs at once: $(cat "$game_log")"
  grep -q "did not end in time\|ends now" "$game_log" && fail "two SIGTERMs at once: $(cat "$game_log")"
  [ -n "$(closing "$scratch/twice.txt")" ] && [ ! -e "$scratch/twice.txt.partial" ] &&
    echo "ok   two SIGTERMs at once: the recording committed" ||
    fail "two SIGTERMs at once: the recording is not committed: $(ls "$scratch")"
else
  fail "no window for two SIGTERMs"
fi
stop_game
start_game "$data" "$kuzari" --window --playback "$data/../docs/screenshots/perfect.txt"
if wait_for_window; then
  send_twice
  wait_for_exit 10 || fail "a playback still running 10 s after two SIGTERMs"
  [ "${game_status:-1}" -eq 0 ] && ! grep -q "ends now" "$game_log" &&
    echo "ok   two SIGTERMs at once end a playback as Escape does" ||
    fail "a playback given two SIGTERMs: status ${game_status:-?}: $(cat "$game_log")"
else
  fail "no window for the playback given two SIGTERMs"
fi
stop_game

# ---- A message box up, and the game killed ----
SDL_AUDIODRIVER=no-such-driver start_game "$data" "$kuzari" --window
box=""
for _ in $(seq 100); do
  box=$(ps --ppid "$game_pid" -o pid= | tr -d ' ')
  [ -n "$box" ] && break
  sleep 0.1
done
if [ -z "$box" ]; then
  fail "no message box's process came up: $(cat "$game_log")"
  stop_game
else
  kill -9 "$game_pid"
  wait "$game_pid" 2>/dev/null
  game_pid=""
  for _ in $(seq 20); do
    kill -0 "$box" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$box" 2>/dev/null; then
    fail "the message box's process $box outlived the killed game"
    kill -9 "$box"
  else
    echo "ok   the message box's process went with the game"
  fi
fi

# ---- No display at all ----
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 10 "$kuzari" --window >"$scratch/none.log" 2>&1
status=$?
[ $status -ne 0 ] && [ $status -ne 124 ] && grep -q "cannot open a display" "$scratch/none.log" &&
  echo "ok   no display: refused (status $status)" ||
  fail "no display: status $status, said: $(cat "$scratch/none.log")"

# ---- A display that cannot be opened: the box in a process of its own ----
# SDL's box would fork the half-started SDL; the desktop's dialog tool (here a
# stand-in that notes what it was asked) shows it instead, and nothing crashes.
mkdir -p "$scratch/tools"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/dialog.txt"\n' "$scratch" >"$scratch/tools/zenity"
chmod +x "$scratch/tools/zenity"
env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:no-such-display PATH="$scratch/tools:$PATH" \
  timeout 10 "$kuzari" --window >"$scratch/nodisplay.log" 2>&1
status=$?
[ $status -eq 1 ] && grep -q -- "--text" "$scratch/dialog.txt" 2>/dev/null &&
  ! grep -q "crashed" "$scratch/nodisplay.log" && echo "ok   a display that cannot be opened: the desktop's dialog" ||
  fail "a display that cannot be opened: status $status, dialog: $(cat "$scratch/dialog.txt" 2>&1), said: $(cat "$scratch/nodisplay.log")"

# ---- A crash mid-round: the black box ----
start_game "$data" "$kuzari" --window
if wait_for_window; then
  wait_for_event '^title 3$' || fail "crash: the title's menu never came"
  xdotool key Return  # start
  wait_for_event '^round 4$' || fail "crash: the round never began"
  kill -SEGV "$game_pid"
  wait_for_exit 10 || fail "still running 10 s after SIGSEGV"
  [ "${game_status:-0}" -eq 139 ] || fail "status ${game_status:-?} after SIGSEGV, not 139"
  box_file=$(ls "$XDG_STATE_HOME"/kuzari/crash-*.txt 2>/dev/null | head -n 1)
  if [ -z "$box_file" ]; then
    fail "no black box in $XDG_STATE_HOME/kuzari: $(cat "$game_log")"
  else
    grep -qF "$box_file" "$game_log" || fail "the game did not say where the black box is: $(cat "$game_log")"
    grep -q '^# backtrace' "$box_file" || fail "the black box has no backtrace"
    recorded=$(closing "$box_file")
    replayed=$("$replay" --data "$data" --trace - "$box_file" | tail -n 1 |
      sed 's/.*"frame":\([0-9]*\),.*"fb":"\([0-9a-f]*\)".*/\1 \2/')
    [ -n "$recorded" ] && [ "$recorded" = "$replayed" ] && echo "ok   the black box replays to $recorded" ||
      fail "the black box closes on '$recorded', kuzari-replay ends on '$replayed'"
  fi
else
  fail "no window for the crash"
  stop_game
fi

# ---- Two games crashing at once, under a long path: two whole black boxes ----
long_state="$scratch/state$(printf '/a-long-folder-name%.0s' $(seq 16))"
start_game "$data" env XDG_STATE_HOME="$long_state" "$kuzari" --window
first_pid=$game_pid first_log=$game_log
if wait_for_window; then
  game_log="$scratch/second.log"
  (cd "$data" && exec env XDG_STATE_HOME="$long_state" "$kuzari" --window) >"$game_log" 2>&1 &
  second_pid=$!
  for _ in $(seq 300); do
    [ "$(xdotool search --name '^Kuzari$' 2>/dev/null | wc -l)" -ge 2 ] && break
    sleep 0.1
  done
  kill -SEGV "$first_pid" "$second_pid"
  wait "$first_pid" "$second_pid"
  boxes=$(ls "$long_state"/kuzari/crash-*.txt 2>/dev/null | wc -l)
  [ "$boxes" -eq 2 ] || fail "two crashes at once left $boxes black boxes: $(cat "$first_log" "$game_log")"
  for box_file in "$long_state"/kuzari/crash-*.txt; do
    [ -n "$(closing "$box_file")" ] && grep -q '^# backtrace' "$box_file" ||
      fail "$box_file is not whole: $(head -c 300 "$box_file")"
  done
  grep -q "crash-.*-$first_pid-1\.txt" "$first_log" || fail "the first game's box is not named: $(cat "$first_log")"
  [ "$boxes" -eq 2 ] && echo "ok   two crashes at once under a ${#long_state}-character path: two black boxes"
else
  fail "no window for the crashes at once"
fi
game_pid=$first_pid
stop_game

# ---- The X server lost under the game with a box up (last: it takes the display) ----
# The box's process loses the display too: the game alone says so, once, and
# closes the recording.
SDL_AUDIODRIVER=no-such-driver start_game "$data" "$kuzari" --window --record "$scratch/lost.txt"
box=""
for _ in $(seq 100); do
  box=$(ps --ppid "$game_pid" -o pid= | tr -d ' ')
  [ -n "$box" ] && game_window >/dev/null 2>&1 && break
  sleep 0.1
done
if [ -n "$box" ]; then
  kill "$xvfb_pid"
  # The shell says "core dumped" as it reaps one.
  if ! wait_for_exit 10 2>"$scratch/reaped.txt"; then
    fail "still running 10 s after the X server went"
    stop_game
  else
    [ "$game_status" -ne 0 ] && [ "$game_status" -ne 134 ] && [ "$game_status" -ne 139 ] ||
      fail "status $game_status after the X server went"
    [ "$(grep -c "lost the display" "$game_log")" = 1 ] || fail "not one word of the lost display: $(cat "$game_log")"
    grep -q "cannot record" "$game_log" && fail "the recording was reported lost: $(cat "$game_log")"
    grep -q "core dumped" "$game_log" "$scratch/reaped.txt" && fail "a core was dumped"
    [ -n "$(closing "$scratch/lost.txt")" ] &&
      echo "ok   the X server lost under a box: status $game_status, said once, recording closed" ||
      fail "the recording was not closed: $(tail -n 2 "$scratch/lost.txt")"
  fi
else
  fail "no box before the X server went: $(cat "$game_log")"
fi

[ $failures -eq 0 ]
