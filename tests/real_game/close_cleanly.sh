#!/usr/bin/env bash
# The real game under Xvfb closes with exit code 0 on Escape and on a window
# close request, on the title, in a round and during the transition between them.
# It is started from a folder of its own, away from the data it finds itself.
#   close_cleanly.sh KUZARI X11_PROBE
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 probe=$2
. "$(dirname "$0")/lib.sh"
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy

# Held long enough for a frame to see it.
press_enter() {
  xdotool keydown Return
  sleep 0.15
  xdotool keyup Return
}

# scene: what is done before closing; how: escape or close-request.
run_case() {
  local scene=$1 how=$2
  start_game "$scratch" "$kuzari"
  if ! wait_for_window; then
    fail "$scene/$how: no window (the game's output: $(tail -n 3 "$game_log"))"
    stop_game
    return
  fi
  wait_for_event '^title 3$' || fail "$scene/$how: the title's menu never came"
  case $scene in
    title) ;;
    round) press_enter; wait_for_event '^round 4$' || fail "$scene/$how: the round never began" ;;
    transition) press_enter; wait_for_event '^title 4$' || fail "$scene/$how: start was not chosen" ;;
  esac
  if ! kill -0 "$game_pid" 2>/dev/null; then
    wait "$game_pid"
    fail "$scene/$how: the game ended before it was asked to (status $?)"
    game_pid=""
    return
  fi
  case $how in
    escape) xdotool key Escape ;;
    close-request) "$probe" close Kuzari ;;
  esac
  if ! wait_for_exit 10; then
    fail "$scene/$how: still running 10 s after the request"
    stop_game
  elif [ "$game_status" -ne 0 ]; then
    fail "$scene/$how: exit status $game_status"
  else
    echo "ok   $scene/$how"
  fi
}

for scene in title round transition; do
  for how in escape close-request; do
    run_case "$scene" "$how"
  done
done
[ $failures -eq 0 ]
