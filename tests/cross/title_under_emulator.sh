#!/usr/bin/env bash
# The desktop game built for another machine, started under its emulator on a
# virtual X screen: its window opens, and F12's screenshot of what it draws is
# a whole picture, kept as OUT.png to be looked at.
#   title_under_emulator.sh EMULATOR GAME DATA_DIR OUT.png
# Exits 77 when no X server can be started.
set -uo pipefail
[ $# -eq 4 ] || { echo "usage: title_under_emulator.sh EMULATOR GAME DATA_DIR OUT.png" >&2; exit 2; }
emulator=$1 game=$2 data=$3 out=$4
data=$(cd "$data" && pwd)

work=$(mktemp -d)
xvfb_pid="" game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# until_true SECONDS COMMAND...: true once the command is, false when time runs out.
until_true() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

display=""
for n in $(seq 140 180); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  if until_true 10 test -e "/tmp/.X11-unix/X$n" && kill -0 "$xvfb_pid" 2>/dev/null; then
    display=":$n"
    break
  fi
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
done
[ -n "$display" ] || { echo "SKIP: no X server could be started"; exit 77; }
export DISPLAY=$display

# A home of its own: no settings of the player's, and the screenshots land in
# its Pictures folder.
mkdir -p "$work/home/Pictures"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" SDL_AUDIODRIVER=dummy \
  "$emulator" "$game" --data "$data" --nosound --window >"$work/game.log" 2>&1 &
game_pid=$!

# Emulated, the game can take long to start on a busy machine.
window_open() { xdotool search --name '^Kuzari' >/dev/null 2>&1; }
if ! until_true 120 window_open; then
  echo "FAIL: no window within two minutes; the game said:" >&2
  cat "$work/game.log" >&2
  exit 1
fi
echo "the window is open"

# Screenshots until one shows a whole picture: the first may catch the
# opening wipe, whose dark picture compresses to almost nothing.
shot_written() { ! kill -0 "$game_pid" 2>/dev/null || compgen -G "$work/home/Pictures/*.png" >/dev/null; }
title_shot() {
  rm -f "$work"/home/Pictures/*.png
  xdotool search --name '^Kuzari' key --window %1 F12 >/dev/null 2>&1
  until_true 10 shot_written || return 1
  local shot
  shot=$(ls "$work"/home/Pictures/*.png 2>/dev/null | head -n 1)
  [ -n "$shot" ] && [ "$(stat -c %s "$shot")" -gt 4000 ] && cp "$shot" "$out"
}
if ! until_true 120 title_shot; then
  echo "FAIL: no screenshot of a whole picture within two minutes; the game said:" >&2
  cat "$work/game.log" >&2
  exit 1
fi
size=$(file -b "$out" | grep -oE '[0-9]+ x [0-9]+')
echo "screenshot $out: $size"
case "$size" in
  "320 x 240" | "640 x 480" | "960 x 720" | "1280 x 960") ;;
  *) echo "FAIL: the screenshot is not a whole picture: $(file -b "$out")" >&2; exit 1 ;;
esac
