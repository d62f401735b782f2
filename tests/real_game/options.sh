#!/usr/bin/env bash
# The options over the real game, under Xvfb: F1 stands the game still (a
# recording across it has no frames for that time and replays as it was),
# Escape closes them and a second ends the game; the music's volume changed
# there is heard and lands in kuzari.ini with every other line as it was;
# throw moved to another key plays with it; a settings folder that cannot be
# written is reported and the game goes on (a click resumes it); and a
# voice's caption is on the screen while it plays, in both editions, and not
# with captions off.
#   options.sh KUZARI KUZARI_REPLAY DATA_DIR X11_PROBE OVERLAY_PICTURES
# The read-only folder is a read-only bind mount in a mount namespace of the
# test's own (a root user writes into any folder); where none can be made it
# is a folder without write permission, and skipped as root.
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
if [ -z "${KUZARI_OPTIONS_NAMESPACE:-}" ] && unshare -m true 2>/dev/null; then
  KUZARI_OPTIONS_NAMESPACE=1 exec unshare -m "$0" "$@"
fi
kuzari=$1 replay=$2 data=$3 probe=$4 pictures=$5
here=$(dirname "$0")
. "$here/lib.sh"
start_xvfb 1280x720
export SDL_AUDIODRIVER=dummy

hash_now() { "$probe" picture | cut -d' ' -f5; }
last_frame() { sed -n 's/^# frame \([0-9]*\) fb \([0-9a-f]*\)$/\1 \2/p' "$1"; }
now() { date +%s.%N; }
keys() {
  local key
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.15
  done
}

config="$scratch/config"
ini="$config/kuzari/kuzari.ini"
mkdir -p "$config/kuzari"
cat >"$ini" <<'INI'
# my own settings; keep this comment
fullscreen = no
scale = 2

; quieter music
music-volume   = 80    ; not too loud

[keys]
# an arrow of my own
up = Up, W
INI
cp "$ini" "$scratch/kept.ini"
export XDG_CONFIG_HOME=$config

# ---- The game stands still while the options are open ----
started=$(now)
start_game "$data" "$kuzari" --record "$scratch/still.txt"
wait_for_window || fail "no window"
wait_for_event '^title 3$' || fail "the title's menu never came"
opened=$(now)
xdotool key F1
wait_for_event '^paused$' || fail "F1 did not stand the game still"
shown=$(event_count '^shown ')
first=$(hash_now); sleep 1; second=$(hash_now)
[ "$first" = "$second" ] && [ "$(event_count '^shown ')" = "$shown" ] || fail "frames ran while the options were open"
sleep 1.5  # some more time with the options open, which the recording must not count
xdotool key Escape
closed=$(now)
wait_for_event '^running$' || fail "Escape did not close the options"
first=$(hash_now); wait_for_frames 5; second=$(hash_now)
[ "$first" != "$second" ] || fail "the frames did not come back when Escape closed the options"
kill -0 "$game_pid" 2>/dev/null || fail "Escape in the options ended the game"
xdotool key Escape
if wait_for_exit 10; then
  [ "$game_status" -eq 0 ] || fail "the second Escape: exit status $game_status"
else
  fail "the second Escape did not end the game"
fi
ended=$(now)
recorded=$(last_frame "$scratch/still.txt")
# 58.8 frames a second at most, for the time the options were not open.
awk -v f="${recorded%% *}" -v s="$started" -v o="$opened" -v c="$closed" -v e="$ended" \
  'BEGIN { exit !(f > 0 && f < (e - s - (c - o)) * 60) }' ||
  fail "$recorded: frames ran while the options were open ($started $opened $closed $ended)"
[ "$(grep -c ' escape' "$scratch/still.txt")" = 1 ] || fail "the Escape that closed the options was recorded"
replayed=$("$replay" --data "$data" --trace - "$scratch/still.txt" | grep "^{\"frame\":${recorded%% *}," |
  sed 's/.*"frame":\([0-9]*\),.*"fb":"\([0-9a-f]*\)".*/\1 \2/')
[ "$recorded" = "$replayed" ] || fail "recorded across the options $recorded, replayed $replayed"
cmp -s "$ini" "$scratch/kept.ini" || fail "opening and closing the options changed kuzari.ini"

# ---- The music's volume, heard and kept ----
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$scratch/music.raw" start_game "$data" "$kuzari"
wait_for_window || fail "music volume: no window"
until_heard "$scratch/music.raw" 'x{10,}$' || fail "music volume: the title's music never sounded"
keys F1 Down Down Left Left Left Left Left Left Left Left Escape
wait_for_event '^running$' || fail "music volume: the options did not close"
until_heard "$scratch/music.raw" 'x{10,}.*-{20,}$'
stop_game
heard=$(levels "$scratch/music.raw")
[[ $heard =~ x{10,}.*-{20,}$ ]] && echo "ok   music volume to 0 in the options: $heard" ||
  fail "music volume to 0 in the options: the output went $heard"
sed 's/^music-volume   = 80    ; not too loud$/music-volume   = 0    ; not too loud/' "$scratch/kept.ini" >"$scratch/expected.ini"
cmp -s "$ini" "$scratch/expected.ini" || fail "kuzari.ini is not the player's with the one line changed: $(diff "$scratch/expected.ini" "$ini")"

# ---- Throw moved to another key ----
start_game "$data" "$kuzari" --record "$scratch/throw.txt"
wait_for_window || fail "remapping: no window"
wait_for_event '^title 3$' || fail "remapping: the title's menu never came"
# Controls is the eleventh row; throw's key the fifth row of its page.
keys F1 Down Down Down Down Down Down Down Down Down Down Return Down Down Down Down Return z Escape Escape
wait_for_event '^running$' || fail "remapping: the options did not close"
xdotool key Return  # no longer throw
sleep 0.5           # a frame or more for the Return to be read in
xdotool key z       # the round starts
wait_for_event '^title 4$' || fail "remapping: z did not choose start"
stop_game
grep -q '^throw = Z$' "$ini" || fail "throw = Z is not in kuzari.ini: $(cat "$ini")"
sed -n '/^\[keys\]/,$p' "$ini" | grep -q '^throw = Z$' || fail "throw = Z is not in [keys]: $(cat "$ini")"
[ "$(grep -c ' enter\b' "$scratch/throw.txt")" = 1 ] ||
  fail "the game's throw after remapping: $(tr '\n' ' ' <"$scratch/throw.txt")"

# ---- A settings folder that cannot be written ----
locked="$scratch/locked"
mkdir -p "$locked/kuzari"
cp "$scratch/kept.ini" "$locked/kuzari/kuzari.ini"
if [ -n "${KUZARI_OPTIONS_NAMESPACE:-}" ] && mount --bind "$locked" "$locked" 2>/dev/null &&
    mount -o remount,bind,ro "$locked" 2>/dev/null; then
  can_lock=1
elif [ "$(id -u)" != 0 ]; then
  chmod a-w "$locked/kuzari" "$locked/kuzari/kuzari.ini"
  can_lock=1
else
  echo "note: no read-only folder can be made here; that part is skipped"
  can_lock=""
fi
if [ -n "$can_lock" ]; then
  XDG_CONFIG_HOME=$locked start_game "$data" "$kuzari"
  wait_for_window || fail "read-only settings: no window"
  wait_for_event '^title 3$' || fail "read-only settings: the title's menu never came"
  keys F1 Down Left
  wait_for_output "the settings are not kept: cannot write $locked/kuzari/kuzari.ini" ||
    fail "a settings file that cannot be written was not reported: $(cat "$game_log")"
  # A click on Resume, the first row (at 40, 60 of the picture, twice as large in the window).
  xdotool mousemove --window "$(game_window)" 81 121 click 1
  wait_for_event '^running$' || fail "read-only settings: a click on Resume did not resume"
  first=$(hash_now); wait_for_frames 5; second=$(hash_now)
  [ "$first" != "$second" ] || fail "the game did not go on after the settings could not be written"
  stop_game
  cmp -s "$locked/kuzari/kuzari.ini" "$scratch/kept.ini" || fail "the read-only kuzari.ini changed"
  umount "$locked" 2>/dev/null
  chmod -R u+w "$locked"
fi

# ---- Captions ----
mkdir "$scratch/bands"
"$pictures" --data "$data" "$scratch/bands" || fail "kuzari-overlay-pictures"
export XDG_CONFIG_HOME=$scratch/no-config
# caption_after MODE LANG: the screen again and again while the voice "setumei"
# plays (the rules chosen on the title), and once after it; full screen at 3 times.
caption_after() {
  local shot=0 clip began
  rm -f "$scratch/voice-$1-$2-"*.png
  start_game "$data" "$kuzari" --captions "$1" --lang "$2"
  wait_for_window || fail "captions $1 $2: no window"
  wait_for_event '^title 3$' || fail "captions $1 $2: the title's menu never came"
  xdotool key Down
  xdotool key Return
  wait_for_event '^voice ' || fail "captions $1 $2: the voice never began"
  began=$(now)
  clip=$(sed -n 's/^voice //p' "$game_events" | head -n 1)
  # As many screens as can be had while the clip plays.
  while awk -v b="$began" -v n="$(now)" -v c="$clip" 'BEGIN { exit !(n - b < c / 1000) }'; do
    shot=$((shot + 1))
    "$probe" shot "$scratch/voice-$1-$2-$shot.png"
  done
  # Then a second past its end, and a picture presented after that.
  sleep 1
  wait_for_frames 3
  "$probe" shot "$scratch/after-$1-$2.png"
  stop_game
}
# shown_in MODE LANG: whether one of the screens while the voice plays shows its caption.
shown_in() {
  local shot
  for shot in "$scratch/voice-$1-$2-"*.png; do
    [ -e "$shot" ] || continue
    "$here/caption_shown.py" "$shot" "$scratch/bands/caption-setumei-$2.png" >/dev/null && return 0
  done
  return 1
}
for lang in en ja; do
  caption_after on "$lang"
  shown_in on "$lang" || fail "captions on, $lang: the caption is not shown while the voice plays"
  "$here/caption_shown.py" "$scratch/after-on-$lang.png" "$scratch/bands/caption-setumei-$lang.png" >/dev/null &&
    fail "captions on, $lang: the caption stays after the voice"
done
caption_after off en
shown_in off en && fail "captions off: a caption is shown"

[ $failures -eq 0 ]
