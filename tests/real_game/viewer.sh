#!/usr/bin/env bash
# Watching a playback in the real game, under Xvfb. Unpaced (--speed max) the
# perfect round ends on its own closing picture and what it plays is recorded
# to the same recording; at the game's pace a pause stands still, and a pause,
# a step and seeks forward, back and to the start each leave on screen (F12)
# the picture kuzari-replay shoots of the frame the game names, and the game
# then sped up to unpaced still records the recording it plays.
#   viewer.sh KUZARI KUZARI_REPLAY DATA_DIR PERFECT_SCRIPT X11_PROBE
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 replay=$2 data=$3 perfect=$4 probe=$5
. "$(dirname "$0")/lib.sh"
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy

# The perfect round as the game records it: seed, edition, input, closing line.
last=$("$replay" --data "$data" --trace - "$perfect" | tail -n 1 |
  sed 's/.*"frame":\([0-9]*\),.*"fb":"\([0-9a-f]*\)".*/\1 \2/')
recording="$scratch/perfect.txt"
{ printf '# seed 1\n# lang ja\n'; grep -v '^#' "$perfect"; echo "# frame ${last% *} fb ${last#* }"; } >"$recording"

# ---- Unpaced ----
began=$(date +%s%N)
start_game "$data" "$kuzari" --window --playback "$recording" --speed max --record "$scratch/again.txt"
wait_for_exit 120 || fail "the unpaced playback did not end within 120 s"
took=$((($(date +%s%N) - began) / 1000000))
[ "${game_status:-1}" -eq 0 ] || fail "the unpaced playback ended with status ${game_status:-?}"
if [ "$(tail -n 1 "$scratch/again.txt")" = "$(tail -n 1 "$recording")" ]; then
  echo "ok   unpaced: ${last% *} frames in $took ms, closing on the recording's own line"
else
  fail "unpaced, the recording closed on '$(tail -n 1 "$scratch/again.txt")', not '$(tail -n 1 "$recording")'"
fi
cmp -s <(grep -v '^# frame' "$scratch/again.txt") <(grep -v '^# frame' "$recording") ||
  fail "the recording made unpaced differs from the one played: $(diff "$recording" "$scratch/again.txt" | head -n 5)"

# ---- Pause, step and seek ----
pictures="$scratch/pictures"
mkdir -p "$pictures" "$scratch/config"
echo "XDG_PICTURES_DIR=\"$pictures\"" >"$scratch/config/user-dirs.dirs"
start_game "$data" env XDG_CONFIG_HOME="$scratch/config" "$kuzari" --window --playback "$recording" \
  --record "$scratch/sought.txt"
wait_for_window || fail "no window for the playback"
sleep 2

# settled KEY: presses KEY and waits for the game to say where the playback
# stands; prints that frame.
settled() {
  local before
  before=$(grep -c '^kuzari: playback .* at frame ' "$game_log")
  xdotool key "$1"
  for _ in $(seq 200); do
    [ "$(grep -c '^kuzari: playback .* at frame ' "$game_log")" -gt "$before" ] && break
    sleep 0.1
  done
  grep '^kuzari: playback .* at frame ' "$game_log" | sed -n "$((before + 1))s/.* at frame //p"
}
shots=0
# shown_is FRAME WHAT: F12's screenshot is kuzari-replay's of FRAME.
shown_is() {
  xdotool key F12
  shots=$((shots + 1))
  for _ in $(seq 100); do
    [ "$(grep -c '^kuzari: screenshot ' "$game_log")" -ge $shots ] && break
    sleep 0.1
  done
  local shot
  shot=$(grep '^kuzari: screenshot ' "$game_log" | sed -n "${shots}s/^kuzari: screenshot //p")
  "$replay" --data "$data" --frames "$1" --shot "$1:$scratch/expected.png" "$recording" ||
    fail "kuzari-replay could not shoot frame $1"
  [ -n "$shot" ] && cmp -s "$shot" "$scratch/expected.png" && echo "ok   $2: frame $1 as kuzari-replay shows it" ||
    fail "$2: the picture shown is not kuzari-replay's of frame $1"
}

paused=$(settled space)
[ -n "$paused" ] || fail "Space did not pause the playback: $(tail -n 3 "$game_log")"
before=$("$probe" picture | cut -d' ' -f5)
sleep 0.5
[ "$("$probe" picture | cut -d' ' -f5)" = "$before" ] || fail "frames ran while paused"
shown_is "$paused" "paused"
stepped=$(settled period)
[ "$stepped" = $((paused + 1)) ] || fail "a step from frame $paused went to frame '$stepped'"
shown_is "$stepped" "one frame forward"
ahead=$(settled Right)
[ "$ahead" = $((stepped + 588)) ] || fail "ten seconds forward from frame $stepped went to frame '$ahead'"
shown_is "$ahead" "ten seconds forward"
back=$(settled Left)
[ "$back" = "$stepped" ] || fail "ten seconds back from frame $ahead went to frame '$back'"
shown_is "$back" "ten seconds back"
start=$(settled Home)
[ "$start" = 1 ] || fail "back to the start went to frame '$start'"
shown_is 1 "back to the start"
# Played on, faster and faster to unpaced: after all the seeks it still ends
# on the same picture and records the same recording.
xdotool key space plus plus plus plus
wait_for_exit 120 || fail "the playback did not end after the seeks"
cmp -s "$scratch/sought.txt" "$recording" && echo "ok   after the seeks the recording is the one played" ||
  fail "after the seeks the recording differs: $(diff "$recording" "$scratch/sought.txt" | head -n 5)"

[ $failures -eq 0 ]
