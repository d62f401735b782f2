#!/usr/bin/env bash
# Recording and playing back in the real game, under Xvfb: a game played with
# xdotool and recorded is replayed by kuzari-replay to the same last frame and
# picture; and the recorded perfect round, played back in the real game,
# shows the same frames as kuzari-replay's, the staff screen among them.
#   record_playback.sh KUZARI KUZARI_REPLAY DATA_DIR PERFECT_SCRIPT X11_PROBE
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 replay=$2 data=$3 perfect=$4 probe=$5
. "$(dirname "$0")/lib.sh"
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy

# held KEY SECONDS: a key held down, as a player holds it.
held() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}

# last_frame RECORDING: "FRAME FB" from its closing comment.
last_frame() { sed -n 's/^# frame \([0-9]*\) fb \([0-9a-f]*\)$/\1 \2/p' "$1"; }

# replayed_frame SCRIPT FRAME: "FRAME FB" of that frame in kuzari-replay's trace.
replayed_frame() {
  "$replay" --data "$data" --trace - "$1" | grep "^{\"frame\":$2," |
    sed 's/.*"frame":\([0-9]*\),.*"fb":"\([0-9a-f]*\)".*/\1 \2/'
}

# ---- A game played and recorded ----
recording="$scratch/played.txt"
start_game "$data" "$kuzari" --window --record "$recording"
wait_for_window || fail "no window"
sleep 2
xdotool key Return  # start
sleep 5             # the round opens
for key in Down Down Up; do
  xdotool key "$key"
  sleep 0.6
done
held Return 1.5     # throwing
sleep 0.3
xdotool key shift   # a refill
sleep 2
xdotool key Escape
wait_for_exit 10 || fail "the recorded game did not end on Escape"
head -n 1 "$recording" | grep -qE '^# seed [0-9]+$' || fail "the recording names no seed"
grep -q ' down$' "$recording" && grep -q ' enter$' "$recording" && grep -q ' shift$' "$recording" ||
  fail "the recording lacks the keys played: $(tr '\n' ' ' <"$recording")"
recorded=$(last_frame "$recording")
[ -n "$recorded" ] || fail "the recording has no closing frame"
replayed=$(replayed_frame "$recording" "${recorded%% *}")
[ "$recorded" = "$replayed" ] && echo "ok   recorded $recorded, replayed $replayed" ||
  fail "recorded '$recorded', but kuzari-replay gives '$replayed'"

# ---- The language: the locale's unless --lang says ----
# played_in LANG [OPTION]: which edition kuzari-replay needs to show the
# recorded game's last picture.
played_in() {
  local locale=$1
  shift
  start_game "$data" env -u LC_ALL -u LC_MESSAGES LANG="$locale" "$kuzari" --window --record "$scratch/lang.txt" "$@"
  wait_for_window && sleep 1.5
  xdotool key Escape
  wait_for_exit 10 || stop_game
  local recorded edition
  recorded=$(last_frame "$scratch/lang.txt")
  for edition in ja en; do
    [ "$("$replay" --lang "$edition" --data "$data" --trace - "$scratch/lang.txt" | tail -n 1 |
      sed 's/.*"frame":\([0-9]*\),.*"fb":"\([0-9a-f]*\)".*/\1 \2/')" = "$recorded" ] && echo "$edition"
  done
}
[ "$(played_in en_US.UTF-8)" = en ] || fail "LANG=en_US.UTF-8 did not play in English"
[ "$(played_in ja_JP.UTF-8)" = ja ] || fail "LANG=ja_JP.UTF-8 did not play in Japanese"
[ "$(played_in ja_JP.UTF-8 --lang en)" = en ] || fail "--lang en did not win over LANG=ja_JP.UTF-8"
[ "$(played_in en_US.UTF-8 --lang ja)" = ja ] || fail "--lang ja did not win over LANG=en_US.UTF-8"

# ---- The perfect round played back in the real game ----
# It plays at the game's own pace: about three minutes.
played_back="$scratch/played-back.txt"
start_game "$data" "$kuzari" --window --lang ja --playback "$perfect" --record "$played_back"
wait_for_window || fail "no window for the playback"
wait_for_exit 400 || fail "the playback did not end with its script"
[ "${game_status:-1}" -eq 0 ] || fail "the playback ended with status ${game_status:-?}"
shown=$(last_frame "$played_back")
replayed=$("$replay" --data "$data" --trace - "$perfect" | tail -n 1 |
  sed 's/.*"frame":\([0-9]*\),.*"fb":"\([0-9a-f]*\)".*/\1 \2/')
[ "$shown" = "$replayed" ] && echo "ok   played back to $shown" ||
  fail "the playback showed '$shown' last, kuzari-replay '$replayed'"

[ $failures -eq 0 ]
