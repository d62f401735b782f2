#!/usr/bin/env bash
# The real game under Xvfb closes with exit code 0 on Escape and on a window
# close request, on the title, in a round and during the transition between them.
#   close_cleanly.sh KUZARI DATA_DIR SEND_CLOSE_REQUEST
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 data=$2 send_close=$3

display=""
for n in $(seq 80 120); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
    display=":$n"
    break
  fi
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
done
if [ -z "$display" ]; then
  echo "SKIP: no X server could be started"
  exit 77
fi
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null' EXIT
export DISPLAY=$display SDL_AUDIODRIVER=dummy

# Held long enough for a frame to see it.
press_enter() {
  xdotool keydown Return
  sleep 0.15
  xdotool keyup Return
}

close_with() {
  case $1 in
    escape) xdotool key Escape ;;
    close-request) "$send_close" Kuzari ;;
  esac
}

failures=0
# scene: what is done before closing; how: escape or close-request.
run_case() {
  local scene=$1 how=$2
  (cd "$data" && exec "$kuzari") &
  local pid=$!
  local waited=0
  until xdotool search --name '^Kuzari$' >/dev/null 2>&1; do
    sleep 0.1
    waited=$((waited + 1))
    # A sanitizer build's first start on a busy machine can take many seconds.
    if [ $waited -ge 600 ] || ! kill -0 "$pid" 2>/dev/null; then
      kill -0 "$pid" 2>/dev/null && echo "FAIL $scene/$how: no window after 60 s" \
        || echo "FAIL $scene/$how: the game ended without showing its window"
      kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
      failures=$((failures + 1))
      return
    fi
  done
  sleep 2  # the title opens and takes input
  case $scene in
    title) ;;
    round) press_enter; sleep 4 ;;        # the round has opened and plays
    transition) press_enter; sleep 0.2 ;; # the title is still handing over
  esac
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    echo "FAIL $scene/$how: the game ended before it was asked to (status $?)"
    failures=$((failures + 1))
    return
  fi
  close_with "$how"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL $scene/$how: still running 10 s after the request"
    kill -9 "$pid"; wait "$pid" 2>/dev/null
    failures=$((failures + 1))
    return
  fi
  wait "$pid"
  local status=$?
  if [ $status -eq 0 ]; then
    echo "ok   $scene/$how"
  else
    echo "FAIL $scene/$how: exit status $status"
    failures=$((failures + 1))
  fi
}

for scene in title round transition; do
  for how in escape close-request; do
    run_case "$scene" "$how"
  done
done
[ $failures -eq 0 ]
