#!/usr/bin/env bash
# Recording and playing back in the real game, under Xvfb: a game played with
# xdotool and recorded is replayed by kuzari-replay to the same last frame and
# picture; a playback takes the recording's edition and seed (1 when it names
# none) as kuzari-replay does, and what it plays can be recorded again; and the
# recorded perfect round, played back in the real game, shows the same frames
# as kuzari-replay's, the staff screen among them. kuzari-replay --verify
# accepts the game's recordings and refuses one with a line of input changed.
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

# replayed_last SCRIPT: "FRAME FB" of the last frame in kuzari-replay's trace.
replayed_last() {
  "$replay" --data "$data" --trace - "$1" | tail -n 1 | sed 's/.*"frame":\([0-9]*\),.*"fb":"\([0-9a-f]*\)".*/\1 \2/'
}

# ---- A game played and recorded ----
recording="$scratch/played.txt"
start_game "$data" "$kuzari" --window --record "$recording"
wait_for_window || fail "no window"
wait_for_event '^title 3$' || fail "the title's menu never came"
xdotool key Return  # start
wait_for_event '^round 4$' || fail "the round never began"
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

# The verdict: the recording as written is verified; with one line of input
# changed (the throw made a step down) it is not.
verdict=$("$replay" --data "$data" --verify "$recording") && [[ "$verdict" == *": verified: ${recorded%% *} frames,"* ]] &&
  echo "ok   $verdict" || fail "the recording was not verified: $verdict"
sed '0,/ enter$/s/ enter$/ down/' "$recording" >"$scratch/changed.txt"
cmp -s "$recording" "$scratch/changed.txt" && fail "no line of the recording was changed"
verdict=$("$replay" --data "$data" --verify "$scratch/changed.txt")
[ $? -eq 1 ] && [[ "$verdict" == *": not verified: "* ]] && echo "ok   changed: $verdict" ||
  fail "the changed recording was not refused: $verdict"

# ---- The language: the locale's unless --lang says ----
# played_in LANG [OPTION]: which edition kuzari-replay needs to show the
# recorded game's last picture.
played_in() {
  local locale=$1
  shift
  start_game "$data" env -u LC_ALL -u LC_MESSAGES LANG="$locale" "$kuzari" --window --record "$scratch/lang.txt" "$@"
  wait_for_window && wait_for_event '^title 3$'
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
cp "$scratch/lang.txt" "$scratch/english.txt"
[ "$(played_in ja_JP.UTF-8)" = ja ] || fail "LANG=ja_JP.UTF-8 did not play in Japanese"
[ "$(played_in ja_JP.UTF-8 --lang en)" = en ] || fail "--lang en did not win over LANG=ja_JP.UTF-8"
[ "$(played_in en_US.UTF-8 --lang ja)" = ja ] || fail "--lang ja did not win over LANG=en_US.UTF-8"

# ---- A playback takes the recording's edition and seed ----
# play_back SCRIPT [ENV...]: plays SCRIPT back in the real game, recording what
# it plays into $scratch/again.txt; prints that recording's closing "FRAME FB".
play_back() {
  local script=$1
  shift
  start_game "$data" env "$@" "$kuzari" --window --playback "$script" --record "$scratch/again.txt"
  wait_for_window || fail "no window for the playback of $(basename "$script")"
  wait_for_exit 60 || fail "the playback of $(basename "$script") did not end with its script"
  last_frame "$scratch/again.txt"
}
english=$(last_frame "$scratch/english.txt")
shown=$(play_back "$scratch/english.txt" -u LC_ALL -u LC_MESSAGES LANG=ja_JP.UTF-8)
[ "$shown" = "$english" ] && echo "ok   an English recording under a Japanese locale played back to $shown" ||
  fail "the English recording ended on '$english', its playback under LANG=ja_JP.UTF-8 on '$shown'"
grep -q 'English edition' "$game_log" || fail "the playback did not say it took the recording's edition"
grep -q '^# lang en$' "$scratch/again.txt" || fail "the playback's recording does not name the English edition"

# Hand-written, with no seed line: the round's raiders come from seed 1.
printf '100\n1 enter\n420\n20 down\n60 enter\n40 up\n60 shift\n' >"$scratch/seedless.txt"
shown=$(play_back "$scratch/seedless.txt")
replayed=$(replayed_last "$scratch/seedless.txt")
[ "$shown" = "$replayed" ] && echo "ok   a script without a seed played back to $shown" ||
  fail "the seedless script ended on '$shown' in the real game, on '$replayed' in kuzari-replay"
# What the playback recorded plays to its own closing line.
again=$(replayed_frame "$scratch/again.txt" "${shown%% *}")
[ "$again" = "$shown" ] && grep -q '^# seed 1$' "$scratch/again.txt" &&
  echo "ok   the recording made during the playback replays to $again" ||
  fail "the recording made during the playback replays to '$again', not '$shown'"

# ---- The perfect round played back in the real game ----
# It plays at the game's own pace: about three minutes.
played_back="$scratch/played-back.txt"
start_game "$data" "$kuzari" --window --playback "$perfect" --record "$played_back"
wait_for_window || fail "no window for the playback"
wait_for_exit 400 || fail "the playback did not end with its script"
[ "${game_status:-1}" -eq 0 ] || fail "the playback ended with status ${game_status:-?}"
shown=$(last_frame "$played_back")
replayed=$(replayed_last "$perfect")
[ "$shown" = "$replayed" ] && echo "ok   played back to $shown" ||
  fail "the playback showed '$shown' last, kuzari-replay '$replayed'"
again=$(replayed_frame "$played_back" "${shown%% *}")
[ "$again" = "$shown" ] && echo "ok   its recording replays to $again" ||
  fail "the recording made while playing back replays to '$again', not '$shown'"

[ $failures -eq 0 ]
