#!/usr/bin/env bash
# The real game on a desktop, under Xvfb with a 1280 x 720 screen: the command
# line, full screen and the window with their switches, the picture whole and
# centred in each, the pause while another client has the focus, and the
# signals that end it.
#   desktop.sh KUZARI DATA_DIR X11_PROBE
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 data=$2 probe=$3
. "$(dirname "$0")/lib.sh"
start_xvfb 1280x720
export SDL_AUDIODRIVER=dummy

# ---- The command line ----
"$kuzari" --help >"$scratch/help" 2>&1 || fail "--help: status $?"
for option in --window --fullscreen --scale --no-pause --version; do
  grep -q -- "$option" "$scratch/help" || fail "--help does not list $option"
done
"$kuzari" --version | grep -qE '^kuzari [0-9]' || fail "--version"
for bad in "--scale 0" "--scale x" "--scale" "--bogus" "stray"; do
  # shellcheck disable=SC2086
  "$kuzari" $bad >/dev/null 2>"$scratch/err"
  status=$?
  [ $status -eq 2 ] || fail "kuzari $bad: status $status, not 2"
  grep -q "usage" "$scratch/err" || fail "kuzari $bad: no usage"
done

# ---- The settings file ----
# Good keys apply; a bad key, a bad value and broken syntax are each named
# with their line and left out; the game starts all the same.
cat >"$scratch/kuzari.ini" <<'INI'
fullscreen = no
bogus = 1
scale = 1
volume = loud
this is no setting
[keys]
throw = Space
INI
start_game "$data" "$kuzari" --config "$scratch/kuzari.ini" --record "$scratch/keys.txt"
wait_for_window || fail "no window with a settings file with bad lines"
wait_for_event '^title 3$' || fail "settings file with bad lines: the title's menu never came"
for line in "kuzari.ini:2: unknown key 'bogus'" "kuzari.ini:4: 'volume' cannot be 'loud'" "kuzari.ini:5: this is not"; do
  grep -q "$line" "$game_log" || fail "the settings file's '$line' was not reported: $(cat "$game_log")"
done
eval "$(xdotool getwindowgeometry --shell "$(game_window)")"
[ "$WIDTH" = 320 ] && [ "$HEIGHT" = 240 ] || fail "the good settings (a window, scale 1) were not taken: ${WIDTH}x$HEIGHT"
xdotool key Return  # no longer the throw key
sleep 0.5           # a frame or more for the Return to be read in
xdotool key space   # the key the file gave it
wait_for_event '^title 4$' || fail "the throw key from the file did not choose start"
stop_game
# The recording holds what the game read: one press of its throw key.
[ "$(grep -c ' enter\b' "$scratch/keys.txt")" = 1 ] || fail "the keys from the file: $(tr '\n' ' ' <"$scratch/keys.txt")"
XDG_CONFIG_HOME="$scratch/config" "$kuzari" --write-config 2>/dev/null || fail "--write-config"
XDG_CONFIG_HOME="$scratch/config" "$kuzari" --write-config 2>/dev/null && fail "--write-config wrote over a file"
grep -q '^throw = Return, Keypad Enter$' "$scratch/config/kuzari/kuzari.ini" || fail "--write-config: no keys"

# ---- Window modes ----
window_id() { game_window; }

# expect_geometry WIDTH HEIGHT: the window's size, and the picture the largest
# whole multiple of 320 x 240 in it, centred.
expect_geometry() {
  local want_w=$1 want_h=$2 X Y WIDTH HEIGHT
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$(window_id)")"
  if [ "$WIDTH" != "$want_w" ] || [ "$HEIGHT" != "$want_h" ]; then
    fail "the window is ${WIDTH}x$HEIGHT, not ${want_w}x$want_h"
    return
  fi
  local scale=$((WIDTH / 320 < HEIGHT / 240 ? WIDTH / 320 : HEIGHT / 240))
  local expected="$((X + (WIDTH - 320 * scale) / 2)) $((Y + (HEIGHT - 240 * scale) / 2)) $((320 * scale)) $((240 * scale))"
  local seen
  seen=$("$probe" picture | cut -d' ' -f1-4)
  [ "$seen" = "$expected" ] || fail "in ${WIDTH}x$HEIGHT the picture is at '$seen', not '$expected'"
}

start_game "$data" "$kuzari" --scale 1
wait_for_window || fail "no window in full screen: $(cat "$game_log")"
wait_for_event '^title 3$' || fail "full screen: the title's menu never came"
expect_geometry 1280 720
# Out of a full screen it started in: the configured size, not the screen's.
xdotool key alt+Return
expect_geometry 320 240
stop_game

start_game "$data" "$kuzari" --window
wait_for_window || fail "no window with --window"
wait_for_event '^title 3$' || fail "--window: the title's menu never came"
expect_geometry 640 480
xdotool key F11
expect_geometry 1280 720
xdotool key alt+Return
expect_geometry 640 480
xdotool key alt+Return
expect_geometry 1280 720
xdotool key F11
expect_geometry 640 480
xdotool windowsize "$(window_id)" 1000 700
expect_geometry 1000 700
# Out of full screen again: the configured size, not the one it had.
xdotool key F11
expect_geometry 1280 720
xdotool key F11
expect_geometry 640 480
# Alt+Enter is the window's: the title must not take the Enter as a choice.
wait_for_frames 60
[ "$(event_count '^title 4$')" = 0 ] || fail "the title took Alt+Enter's Enter as a choice"
"$probe" picture >"$scratch/title"
[ "$(cut -d' ' -f3-4 "$scratch/title")" = "640 480" ] || fail "the title did not stay after Alt+Enter"

# ---- Both ways of presenting show the same pixels ----
# Without a GPU the picture goes through the window's surface; a player's
# SDL_RENDER_DRIVER takes SDL's renderer. The explanation stands still to be shot.
stop_game
printf '83\n1 down\n20\n1 enter\n2000\n' >"$scratch/explanation.txt"
for driver in "" software; do
  start_game "$data" env SDL_RENDER_DRIVER="$driver" "$kuzari" --window --playback "$scratch/explanation.txt"
  # The explanation, then a few more frames of it, so that the wipe is over.
  wait_for_window && wait_for_event '^title 5$' && wait_for_frames 3 ||
    fail "${driver:-surface}: the explanation never came: $(cat "$game_log")"
  "$probe" picture >"$scratch/presented-${driver:-surface}"
  stop_game
done
grep -q '^320 120 640 480 ' "$scratch/presented-surface" || fail "the explanation was not shown: $(cat "$scratch/presented-surface")"
cmp -s "$scratch/presented-surface" "$scratch/presented-software" ||
  fail "the window surface shows '$(cat "$scratch/presented-surface")', the renderer '$(cat "$scratch/presented-software")'"
# Xvfb has neither a GPU nor a refresh rate: --vsync says it keeps the game's own clock.
start_game "$data" "$kuzari" --window --vsync
wait_for_window
wait_for_output "no vsync, the game keeps its own clock|there is no vsync: the game keeps its own clock" ||
  fail "--vsync without a GPU did not say it keeps the game's own clock: $(cat "$game_log")"
stop_game
start_game "$data" "$kuzari" --window
wait_for_window && wait_for_event '^title 3$'

# ---- The pause without focus ----
hash_now() { "$probe" picture | cut -d' ' -f5; }
"$probe" take-focus 5 &
focus_pid=$!
wait_for_event '^paused$' || fail "the game did not stand still when another client took the focus"
shown=$(event_count '^shown ')
first=$(hash_now); sleep 0.5; second=$(hash_now)
[ "$first" = "$second" ] && [ "$(event_count '^shown ')" = "$shown" ] ||
  fail "frames ran while another client had the focus"
# Resized while it stands still: the picture drawn again at once, at
# the new size's whole factor, and still no frame run.
xdotool windowsize "$(window_id)" 800 600
expect_geometry 800 600
[ "$(event_count '^shown ')" = "$shown" ] || fail "resized while standing still, frames ran"
wait "$focus_pid"
xdotool windowfocus "$(window_id)"
wait_for_event '^running$' || fail "the game did not go on with the focus back"
first=$(hash_now); wait_for_frames 5; second=$(hash_now)
[ "$first" != "$second" ] || fail "the frames did not come back with the focus"
stop_game

start_game "$data" "$kuzari" --window --scale 1 --no-pause
wait_for_window || fail "no window with --scale 1"
wait_for_event '^title 3$' || fail "--scale 1: the title's menu never came"
expect_geometry 320 240
"$probe" take-focus 2 &
focus_pid=$!
sleep 1  # the other client takes the focus
first=$(hash_now); wait_for_frames 5; second=$(hash_now)
[ "$first" != "$second" ] && [ "$(event_count '^paused$')" = 0 ] || fail "--no-pause: the frames stopped without the focus"
wait "$focus_pid"
stop_game

# ---- Signals end the game through its own shutdown ----
# expect_quit SIGNAL WHAT [STATUS]: the game ends soon (10 s, for a loaded
# machine) with STATUS (0 unless said).
expect_quit() {
  kill -s "$1" "$game_pid"
  if ! wait_for_exit 10; then
    fail "$2: still running 10 s after SIG$1"
    stop_game
  elif [ "$game_status" -ne "${3:-0}" ]; then
    fail "$2: exit status $game_status after SIG$1"
  else
    echo "ok   SIG$1 $2"
  fi
}

start_game "$data" "$kuzari" --window
wait_for_window && wait_for_event '^title 3$'
xdotool key Return
wait_for_event '^round 4$' || fail "the round never began"
expect_quit TERM "in a round"

start_game "$data" "$kuzari" --window
wait_for_window && wait_for_event '^title 3$'
xdotool key Return
wait_for_event '^title 4$' || fail "start was not chosen"
expect_quit TERM "in the transition"

start_game "$data" "$kuzari"
wait_for_window && wait_for_event '^title 3$'
expect_quit HUP "on the title"

# The sound device cannot start: the start-up box stays up until a signal,
# and the game that could not start says so in its status.
SDL_AUDIODRIVER=no-such-driver start_game "$data" "$kuzari"
for _ in $(seq 100); do
  grep -q "DirectSound" "$game_log" && break
  sleep 0.1
done
sleep 1
kill -0 "$game_pid" 2>/dev/null || fail "the box did not stay up"
expect_quit TERM "with the start-up box open" 1

[ $failures -eq 0 ]
