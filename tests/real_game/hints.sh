#!/usr/bin/env bash
# The hints' words over the real game under Xvfb: with throw and refill moved
# to Z and X, the title's hint line names Z on the screen in both editions and
# the round's refill line X once the stock is out, and goes with the refill;
# F12's screenshot keeps the game's own line; with the default keys nothing
# is laid over it.
#   hints.sh KUZARI DATA_DIR X11_PROBE OVERLAY_PICTURES
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 data=$2 probe=$3 pictures=$4
here=$(dirname "$0")
. "$here/lib.sh"
start_xvfb 1280x720
export SDL_AUDIODRIVER=dummy

bands=$scratch/bands
mkdir "$bands"
"$pictures" --data "$data" "$bands" || fail "kuzari-overlay-pictures"
config=$scratch/config
mkdir -p "$config/kuzari" "$scratch/pictures"
printf '[keys]\nthrow = Z\nrefill = X\n' >"$config/kuzari/kuzari.ini"
echo "XDG_PICTURES_DIR=\"$scratch/pictures\"" >"$config/user-dirs.dirs"

# shown SCREEN LINE TOP: whether the keyboard's band for the line is on SCREEN.
shown() { "$here/caption_shown.py" "$1" "$bands/hint-$2-zx-$lang.png" "$3" >/dev/null; }

for lang in en ja; do
  start_game "$data" env XDG_CONFIG_HOME="$config" "$kuzari" --lang "$lang"
  wait_for_window || fail "$lang: no window"
  wait_for_event '^title 3$' || fail "$lang: the title's menu never came"
  wait_for_event '^hint .*Z' || fail "$lang: the title's hint never named Z: $(grep '^hint' "$game_events")"
  wait_for_frames 3
  "$probe" shot "$scratch/title-$lang.png"
  shown "$scratch/title-$lang.png" title 178 || fail "$lang: the title's hint naming Z is not on the screen"
  xdotool key F12
  wait_for_output '^kuzari: screenshot ' || fail "$lang: F12 said nothing: $(cat "$game_log")"
  shot=$(sed -n 's/^kuzari: screenshot //p' "$game_log" | tail -n 1)
  [ -s "$shot" ] || fail "$lang: no screenshot at '$shot'"
  shown "$shot" title 178 && fail "$lang: F12's screenshot has the host's words in it"
  if [ "$lang" = en ]; then
    # Throw held through the round until the stock is out, then a refill.
    xdotool key z
    wait_for_event '^round 4$' || fail "the round never came into play"
    xdotool keydown z
    wait_for_event '^hint X:refill$' || fail "the refill's line never named X: $(grep '^hint' "$game_events")"
    xdotool keyup z
    wait_for_frames 3
    "$probe" shot "$scratch/refill.png"
    shown "$scratch/refill.png" refill 216 || fail "the refill's words are not on the screen"
    xdotool key x
    wait_for_event '^hint$' 2 || fail "the refill's words stayed after the refill: $(grep '^hint' "$game_events")"
  fi
  stop_game
done

# The default keys: the game's own line, and nothing said.
lang=en
start_game "$data" env XDG_CONFIG_HOME="$scratch/no-config" "$kuzari" --lang en
wait_for_window || fail "default keys: no window"
wait_for_event '^title 3$' || fail "default keys: the title's menu never came"
wait_for_frames 10
"$probe" shot "$scratch/default.png"
[ "$(event_count '^hint .')" = 0 ] || fail "default keys: words laid over: $(grep '^hint' "$game_events")"
shown "$scratch/default.png" title 178 && fail "default keys: the moved keys' words are on the screen"
stop_game

[ $failures -eq 0 ]
