#!/usr/bin/env bash
# Regenerates docs/options-{en,ja}.png and docs/caption-{en,ja}.png: the real
# game under Xvfb at twice 320 x 240, full screen, with the options open on the
# title, and with the caption of the rules' voice.
#   docs/screenshots/make_overlay.sh [BUILD_DIR]   (default: build)
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
kuzari="$build/kuzari" probe="$build/tests/x11-probe"
. "$root/tests/real_game/lib.sh"
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$scratch/config"
for lang in en ja; do
  start_game "$root/data" "$kuzari" --lang "$lang" --captions on
  wait_for_window || exit 1
  sleep 2
  xdotool key F1
  sleep 0.5
  "$probe" shot "$root/docs/options-$lang.png"
  xdotool key Escape Down
  sleep 0.3
  xdotool key Return
  sleep 0.4
  "$probe" shot "$root/docs/caption-$lang.png"
  stop_game
done
