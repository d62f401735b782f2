#!/usr/bin/env bash
# Watching a recording in the real game under Xvfb (640 x 480, a window, SDL's
# dummy audio): the perfect round played unpaced (--speed max) from start to
# exit, in frames a second; and the cost of seeks of ten seconds, forward (588
# frames run unshown) and back (the game started again and 588 fewer frames
# run unshown from its start), from a key press to the game naming its frame.
#
#   bench/viewer.sh [BUILD_DIR]   (default build-bench)
set -uo pipefail
cd "$(dirname "$0")/.."
build="$PWD/${1:-build-bench}"
kuzari="$build/kuzari" replay="$build/kuzari-replay" probe="$build/tests/x11-probe" data="$PWD/data"
. tests/real_game/lib.sh
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy

script="$PWD/docs/screenshots/perfect.txt"
frames=$("$replay" --data "$data" --trace - "$script" | tail -n 1 | sed 's/^{"frame":\([0-9]*\),.*/\1/')
now_ms() { echo $(($(date +%s%N) / 1000000)); }

for run in 1 2 3; do
  began=$(now_ms)
  start_game "$data" "$kuzari" --window --playback "$script" --speed max
  wait_for_exit 300 || { echo "the unpaced playback did not end"; exit 1; }
  took=$(($(now_ms) - began))
  echo "unpaced, run $run: $frames frames in $took ms, $((frames * 1000 / took)) frames a second, start-up included"
done

# seek KEY: ms from pressing KEY to the game naming the frame it reached.
seek() {
  local before began
  before=$(grep -c ' at frame ' "$game_log")
  began=$(now_ms)
  xdotool key "$1"
  until [ "$(grep -c ' at frame ' "$game_log")" -gt "$before" ]; do sleep 0.005; done
  echo "$(($(now_ms) - began)) ms to $(grep ' at frame ' "$game_log" | tail -n 1 | sed 's/.* at //')"
}
start_game "$data" "$kuzari" --window --playback "$script"
wait_for_window || exit 1
sleep 2
seek space >/dev/null
for _ in 1 2 3 4 5 6 7 8; do echo "ten seconds forward: $(seek Right)"; done
for _ in 1 2 3 4; do echo "ten seconds back: $(seek Left)"; done
stop_game
