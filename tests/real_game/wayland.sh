#!/usr/bin/env bash
# The real game on a Wayland session (sway, headless, drawn by the CPU) with
# an X display offered too: it takes Wayland, as a native xdg_shell window
# with the app id kuzari; at output scales 1 and 2 its buffer scale is the
# output's and the screen shows the picture at a whole factor of real
# pixels, exact to the pixel; another workspace pauses it; SIGTERM ends it
# with status 0; without a sound device (and no zenity) the message shows in
# the game's window;
# a damaged picture's box text comes and the game goes on; the options menu
# moved quickly shows where it is; F11 out of a full screen it started in
# gives the configured window; the output's scale changed under the standing
# game is drawn at once at the new scale; a keyboard that came and went
# before the start does not crash it; full screen moved to a second output at
# another scale, it draws at that output's scale.
#   wayland.sh KUZARI KUZARI_REPLAY DATA_DIR
# Exits 77 (skipped) when sway, grim or Xvfb is missing or sway cannot start.
set -uo pipefail
kuzari=$1 replay=$2 data=$3
here=$(cd "$(dirname "$0")" && pwd)
for tool in sway swaymsg grim Xvfb setpriv python3; do
  command -v $tool >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done

# Compositors refuse root: then sway and the game run as nobody.
as_user=()
if [ "$(id -u)" = 0 ]; then
  user_id=$(id -u nobody) group_id=$(id -g nobody)
  as_user=(setpriv --reuid="$user_id" --regid="$group_id" --clear-groups)
fi

scratch=$(mktemp -d)
chmod 755 "$scratch"
sway_pid="" xvfb_pid="" game_pid="" keyboard_pid=""
cleanup() {
  [ -n "$keyboard_pid" ] && kill "$keyboard_pid" 2>/dev/null
  [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
  [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null && wait "$sway_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# The game and its data where the other user can read them.
mkdir -p "$scratch/game" "$scratch/run" "$scratch/home"
cp "$kuzari" "$scratch/game/kuzari"
cp -r "$data" "$scratch/game/data"
chmod -R a+rX "$scratch/game"
[ "$(id -u)" = 0 ] && chown "$user_id:$group_id" "$scratch/run" "$scratch/home"
chmod 700 "$scratch/run"

# An X display too, to show that Wayland wins.
for n in $(seq 140 180); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 640x480x24 -nolisten tcp -ac >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] && { x_display=":$n"; break; }
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=""
done
[ -n "${x_display:-}" ] || { echo "SKIP: no X server could be started"; exit 77; }

# Floating, so that the window keeps the size the game asks for.
printf 'output HEADLESS-1 resolution 1280x720 scale 1\nfor_window [app_id="kuzari"] floating enable\n' \
  >"$scratch/sway.conf"
chmod 644 "$scratch/sway.conf"
session=(env -i HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run" PATH="/usr/bin:/bin"
  # A sanitizer build's options (its leak suppressions) go through.
  "ASAN_OPTIONS=${ASAN_OPTIONS:-}" "LSAN_OPTIONS=${LSAN_OPTIONS:-}" "UBSAN_OPTIONS=${UBSAN_OPTIONS:-}")
"${as_user[@]}" "${session[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  sway -c "$scratch/sway.conf" >"$scratch/sway.log" 2>&1 &
sway_pid=$!
for _ in $(seq 100); do
  socket=$(find "$scratch/run" -maxdepth 1 -name "sway-ipc.*.sock" -printf "%f\n" | head -n 1)
  [ -n "$socket" ] && [ -e "$scratch/run/wayland-1" ] && break
  kill -0 "$sway_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "${socket:-}" ] || ! kill -0 "$sway_pid" 2>/dev/null; then
  echo "SKIP: sway did not start: $(tail -n 3 "$scratch/sway.log")"
  exit 77
fi
wayland=(WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$scratch/run/$socket")
swaymsg() { "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 swaymsg "$@"; }

# A headless seat has no keyboard, and SDL learns of the focus only from
# one: wtype's virtual keyboard, waiting a minute before it types, is it.
if command -v wtype >/dev/null; then
  "${as_user[@]}" "${session[@]}" "${wayland[@]}" wtype -s 300000 x &
  keyboard_pid=$!
else
  echo "no wtype: the pause in the background is not checked"
fi

game_log="$scratch/game.log"
start_game() {
  "${as_user[@]}" "${session[@]}" "${wayland[@]}" DISPLAY="$x_display" SDL_AUDIODRIVER=dummy \
    KUZARI_DATA="$scratch/game/data" "$@" >"$game_log" 2>&1 &
  game_pid=$!
}
# Until the game's window is in the tree (false when it never comes); generous,
# for a sanitizer build on a busy machine.
wait_for_window() {
  for _ in $(seq 600); do
    kill -0 "$game_pid" 2>/dev/null || return 1
    swaymsg -t get_tree | grep -q '"app_id": "kuzari"' && return 0
    sleep 0.1
  done
  return 1
}
frames_sent() { grep -c 'wl_surface@[0-9]*\.attach(wl_buffer' "$game_log"; }
# until_so SECONDS COMMAND...: until the command succeeds (false when the time runs out).
until_so() {
  local tenths=$(($1 * 10))
  shift
  until "$@"; do
    tenths=$((tenths - 1))
    [ $tenths -gt 0 ] || return 1
    sleep 0.1
  done
}
sent_more_than() { [ "$(frames_sent)" -gt "$1" ]; }
stop_game() {
  [ -n "$game_pid" ] || return 0
  kill -TERM "$game_pid" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$game_pid" 2>/dev/null
  wait "$game_pid"
  game_status=$?
  game_pid=""
}

# The title, left alone: a script that only waits.
printf '# seed 1\n100000\n' >"$scratch/wait.txt"
chmod 644 "$scratch/wait.txt"
shots=()
for frame in $(seq 60 400); do shots+=(--shot "$frame:$scratch/frame$frame.png"); done
"$replay" --frames 400 "${shots[@]}" --data "$data" "$scratch/wait.txt" >/dev/null ||
  fail "kuzari-replay of the waiting script"

for scale in 1 2; do
  swaymsg output HEADLESS-1 scale $scale >/dev/null || fail "sway would not take scale $scale"
  start_game WAYLAND_DEBUG=client "$scratch/game/kuzari" --fullscreen --playback "$scratch/wait.txt"
  if ! wait_for_window; then
    fail "scale $scale: no window in sway's tree: $(grep -v '^\[' "$game_log" | tail -n 5)"
    stop_game
    continue
  fi
  swaymsg -t get_tree | tr -d ' \n' | grep -q '"shell":"xdg_shell"[^}]*"app_id":"kuzari"\|"app_id":"kuzari"[^}]*"shell":"xdg_shell"' ||
    fail "scale $scale: not a native xdg_shell window: $(swaymsg -t get_tree | grep -E '"(shell|app_id)"')"
  grep -q 'wl_surface@[0-9]*\.set_buffer_scale('$scale')' "$game_log" ||
    fail "scale $scale: no set_buffer_scale($scale): $(grep -o 'set_buffer_scale([0-9]*)' "$game_log" | sort -u)"
  grep -q 'runs on x11' "$game_log" && fail "scale $scale: it took X11"
  # Into the frames kuzari-replay drew: past the 60th.
  until_so 60 sent_more_than 80 || fail "scale $scale: the game sent no more than $(frames_sent) frames"
  "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 grim -o HEADLESS-1 "$scratch/home/screen$scale.png" ||
    fail "scale $scale: grim"
  python3 "$here/compare_scaled.py" "$scratch/home/screen$scale.png" "$scratch"/frame*.png ||
    fail "scale $scale: the screen is not the game's frame at a whole factor"

  if [ -n "$keyboard_pid" ]; then
    # Another workspace has the focus: nothing more is drawn until it is back.
    swaymsg workspace 2 >/dev/null
    sleep 1
    before=$(frames_sent)
    sleep 2
    [ "$(frames_sent)" = "$before" ] || fail "scale $scale: frames went on in the background: $before, then $(frames_sent)"
    swaymsg workspace 1 >/dev/null
    until_so 60 sent_more_than "$before" || fail "scale $scale: the game did not go on with the focus back"
  fi
  stop_game
  [ "$game_status" = 0 ] || fail "scale $scale: SIGTERM ended the game with status $game_status"
done

# A damaged picture: its box (here its text on standard error, with no box
# to show) names the file, and the game goes on, as on X11. (Before the F11
# keys below: SDL 2.26 falls over a virtual keyboard that has come and gone
# before a window opens, which a real seat's keyboard never does.)
cp -r "$scratch/game/data" "$scratch/damaged"
for sheet in "$scratch"/damaged/bitmap/title.bmp "$scratch"/damaged/lang/*/bitmap/title.bmp; do
  [ -f "$sheet" ] && truncate -s 2000 "$sheet"
done
chmod -R a+rX "$scratch/damaged"
start_game KUZARI_DATA="$scratch/damaged" "$scratch/game/kuzari" --window
for _ in $(seq 100); do grep -q "bitmap/title.bmp" "$game_log" && break; sleep 0.1; done
sleep 1
grep -q "bitmap/title.bmp" "$game_log" || fail "a damaged picture: no word of it: $(tail -n 5 "$game_log")"
kill -0 "$game_pid" 2>/dev/null || fail "a damaged picture ended the game: $(tail -n 5 "$game_log")"
stop_game

# No sound device (before the F11 keys below, as the damaged picture), and no
# zenity on this session's PATH for SDL's box: the message shows in the
# game's own window (its closing line in yellow), its text on standard error
# too, and a quit signal still ends the game.
start_game SDL_AUDIODRIVER=no-such-driver "$scratch/game/kuzari" --window
for _ in $(seq 100); do grep -q "Could not start the sound device" "$game_log" && break; sleep 0.1; done
grep -q "Could not start the sound device" "$game_log" ||
  fail "no sound device: the box's text is not on standard error: $(tail -n 5 "$game_log")"
panel_seen=""
for _ in $(seq 50); do
  "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 grim -o HEADLESS-1 "$scratch/home/panel.png" 2>/dev/null &&
    python3 -c "
import sys; sys.path.insert(0, sys.argv[1])
from compare_scaled import read_png
_, _, rows = read_png(sys.argv[2])
sys.exit(0 if sum(row.count((0xFF, 0xD8, 0x60)) for row in rows) >= 50 else 1)" "$here" "$scratch/home/panel.png" &&
    { panel_seen=1; break; }
  sleep 0.2
done
[ -n "$panel_seen" ] || fail "no sound device: the message is not in the game's window"
kill -0 "$game_pid" 2>/dev/null || fail "no sound device: the game ended before its message was closed"
stop_game
[ "$game_status" = 0 ] || [ "$game_status" = 1 ] || fail "no sound device: status $game_status after SIGTERM"

# A window at --scale 2 on an output scaled by 2: 640 x 480 pixels, 320 x 240 units.
start_game "$scratch/game/kuzari" --window --scale 2
window_in_units() {
  swaymsg -t get_tree | tr -d ' \n' | grep -q '"window_rect":{"x":[0-9]*,"y":[0-9]*,"width":320,"height":240}'
}
if wait_for_window; then
  until_so 30 window_in_units ||
    fail "--window --scale 2 at output scale 2: $(swaymsg -t get_tree | tr -d ' \n' | grep -o '"window_rect":{[^}]*}')"
  if [ -n "$keyboard_pid" ]; then
    # F11 to full screen and back, through a second virtual keyboard.
    fullscreen_mode() { swaymsg -t get_tree | tr -d ' \n' | grep -o '"fullscreen_mode":[0-9]*,[^{]*"app_id":"kuzari"' | cut -d, -f1 | cut -d: -f2; }
    in_mode() { [ "$(fullscreen_mode)" = "$1" ]; }
    "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 wtype -k F11
    until_so 30 in_mode 1 || fail "F11 did not make full screen: $(fullscreen_mode)"
    "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 wtype -k F11
    until_so 30 in_mode 0 || fail "F11 again did not make a window: $(fullscreen_mode)"
  fi
else
  fail "--window: no window: $(tail -n 5 "$game_log")"
fi
stop_game

# Where Wayland will not start, X11, and it says so.
start_game WAYLAND_DISPLAY=no-such-display "$scratch/game/kuzari" --window
for _ in $(seq 100); do grep -q "Wayland could not be used" "$game_log" && break; sleep 0.1; done
grep -q "Wayland could not be used; the game runs on x11 instead" "$game_log" ||
  fail "no word of the fall back to X11: $(tail -n 5 "$game_log")"
kill -0 "$game_pid" 2>/dev/null || fail "on X11 after Wayland: the game ended: $(tail -n 5 "$game_log")"
stop_game

# The options menu, moved by keys in quick succession, shows where it is: the
# screen is the same before and after a redraw forced by a workspace switch.
# (A redraw that found both buffers held was dropped and never retried.)
if [ -n "$keyboard_pid" ]; then
  start_game "$scratch/game/kuzari" --window --scale 2
  if wait_for_window; then
    sleep 1
    "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 wtype -k F1
    sleep 1
    "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 wtype -k Down -k Down -k Down -k Down -k Down
    sleep 1
    "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 grim -o HEADLESS-1 "$scratch/home/menu1.png"
    swaymsg workspace 2 >/dev/null
    sleep 0.5
    swaymsg workspace 1 >/dev/null
    sleep 1
    "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 grim -o HEADLESS-1 "$scratch/home/menu2.png"
    cmp -s "$scratch/home/menu1.png" "$scratch/home/menu2.png" ||
      fail "the options menu showed a stale picture until it was drawn again"
  else
    fail "the options menu: no window: $(tail -n 5 "$game_log")"
  fi
  stop_game
fi

# F11 out of a full screen the game started in gives the configured window
# (--scale 2 at output scale 2: 320 x 240 units), not the output's size. Then
# the output's scale changed while the options menu holds the game still: the
# picture is drawn again at once into a buffer of the new scale's pixels.
if [ -n "$keyboard_pid" ]; then
  events="$scratch/home/events"
  start_game KUZARI_EVENT_LOG="$events" WAYLAND_DEBUG=client "$scratch/game/kuzari" --fullscreen --scale 2
  if wait_for_window && until_so 30 in_mode 1; then
    "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 wtype -k F11
    until_so 30 window_in_units ||
      fail "F11 out of a full screen it started in: $(swaymsg -t get_tree | tr -d ' \n' | grep -o '"window_rect":{[^}]*}')"
    "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 wtype -k F1
    last_is_paused() { [ "$(grep -E '^(paused|running)$' "$events" | tail -n 1)" = paused ]; }
    until_so 30 last_is_paused || fail "the options menu did not hold the game still"
    # new_buffer_after LINE SCALE WIDTH HEIGHT: after the log's line LINE, a
    # buffer of that size made and shown at that scale.
    new_buffer_after() {
      tail -n +"$1" "$game_log" | grep -q "create_buffer(new id wl_buffer@[0-9]*, 0, $3, $4," &&
        tail -n +"$1" "$game_log" | grep -A1 "set_buffer_scale($2)" | grep -q "attach(wl_buffer"
    }
    for step in "1 320 240" "2 640 480"; do
      read -r scale width height <<<"$step"
      line=$(wc -l <"$game_log")
      swaymsg output HEADLESS-1 scale "$scale" >/dev/null || fail "sway would not take scale $scale"
      until_so 30 new_buffer_after "$line" "$scale" "$width" "$height" ||
        fail "scale $scale with the menu open: not drawn again at ${width}x$height: $(tail -n +"$line" "$game_log" |
          grep -oE 'create_buffer\([^)]*\)|set_buffer_scale\([0-9]*\)' | tail -n 3 | tr '\n' ' ')"
      last_is_paused || fail "scale $scale: the game ran on with the menu open"
    done
  else
    fail "--fullscreen --scale 2: no full-screen window: $(grep -v '^\[' "$game_log" | tail -n 5)"
  fi
  stop_game
fi

# A keyboard that came and went before the game started (the F11 keys above,
# and one more here), as a Bluetooth keyboard drops out: the game starts, and
# a key from the next keyboard still ends it.
if [ -n "$keyboard_pid" ]; then
  "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 wtype -k x
  start_game "$scratch/game/kuzari" --window
  if wait_for_window; then
    "${as_user[@]}" "${session[@]}" "${wayland[@]}" timeout 10 wtype -k Escape
    for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$game_pid" 2>/dev/null && fail "a keyboard gone before the start: Escape did not end the game"
  else
    fail "a keyboard gone before the start: no window: $(tail -n 5 "$game_log")"
  fi
  stop_game
  [ "$game_status" = 0 ] || fail "a keyboard gone before the start: status $game_status: $(tail -n 3 "$game_log")"
fi

# Full screen moved to a second output at another scale (HEADLESS-1 at 2,
# the new one at 1): the picture comes at the new output's pixels and scale
# (1280 x 720 at 1), though the move takes the focus and the game stands still.
swaymsg create_output >/dev/null
swaymsg output HEADLESS-1 scale 2 >/dev/null
if swaymsg output HEADLESS-2 resolution 1280x720 position 1280 0 scale 1 >/dev/null; then
  start_game WAYLAND_DEBUG=client "$scratch/game/kuzari" --fullscreen
  if wait_for_window && until_so 30 sent_more_than 10; then
    line=$(wc -l <"$game_log")
    swaymsg '[app_id="kuzari"]' move to output HEADLESS-2 >/dev/null
    at_new_scale() {
      tail -n +"$line" "$game_log" | grep -q "create_buffer(new id wl_buffer@[0-9]*, 0, 1280, 720," &&
        tail -n +"$line" "$game_log" | grep -E 'set_buffer_scale|attach\(wl_buffer' | tail -n 2 | head -n 1 |
          grep -q 'set_buffer_scale(1)'
    }
    until_so 30 at_new_scale || fail "moved to an output at scale 1: $(tail -n +"$line" "$game_log" |
      grep -oE 'create_buffer\([^)]*\)|set_buffer_scale\([0-9]*\)' | tail -n 3 | tr '\n' ' ')"
  else
    fail "full screen for the move: no window: $(grep -v '^\[' "$game_log" | tail -n 5)"
  fi
  stop_game
else
  fail "sway would not make a second output"
fi

[ $failures -eq 0 ] || exit 1
echo "PASS"
