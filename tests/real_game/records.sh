#!/usr/bin/env bash
# The player's records under Xvfb. A round played live (Enter held, Shift
# tapped between throws, about three minutes) is counted in $XDG_STATE_HOME/kuzari/records.txt
# and, won, its recording is kept as best-ja.txt, which kuzari-replay verifies
# to the same rank and food; a playback of it changes no record, and neither
# does watching it from the options' Records page, which plays it to its
# closing picture; a damaged records file is set aside with a message, not
# replaced.
#   records.sh KUZARI KUZARI_REPLAY DATA_DIR X11_PROBE
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 replay=$2 data=$3 probe=$4
. "$(dirname "$0")/lib.sh"
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy
export XDG_STATE_HOME="$scratch/state"
kept="$XDG_STATE_HOME/kuzari"

# ---- A round played live ----
start_game "$data" "$kuzari" --window --lang ja
wait_for_window || fail "no window"
sleep 2
xdotool key Return
sleep 6
# Throwing, and a refill each second (the stock does not refill while a throw
# is held). The round lasts about 160 s; the records are written as it ends.
for _ in $(seq 300); do
  grep -q 'a best round\|^ja rounds' "$game_log" "$kept/records.txt" 2>/dev/null && break
  xdotool keydown Return
  sleep 1
  xdotool keyup Return key shift
done
sleep 5  # the rank stands a while; then the recording is kept again, with it
xdotool key Escape
wait_for_exit 10 || fail "the game did not end on Escape"
grep -q '^ja rounds 1$' "$kept/records.txt" 2>/dev/null && echo "ok   the round is counted: $(tr '\n' ' ' <"$kept/records.txt")" ||
  fail "the round was not counted: $(cat "$kept/records.txt" 2>&1) $(cat "$game_log")"
rank=$(sed -n 's/^ja best-rank //p' "$kept/records.txt")
food=$(sed -n 's/^ja most-food //p' "$kept/records.txt")
if [ -z "$rank" ]; then
  fail "the round was not won, so no best round was kept: $(cat "$kept/records.txt")"
else
  verdict=$("$replay" --data "$data" --verify "$kept/best-ja.txt")
  [[ "$verdict" == *"verified: "*", round won with rank $rank of 3 and $food food left" ]] &&
    echo "ok   the best round is kept: $verdict" || fail "the best round's recording: $verdict"
fi

# ---- A playback counts for nothing ----
cp "$kept/records.txt" "$scratch/before.txt"
start_game "$data" "$kuzari" --window --playback "$kept/best-ja.txt" --speed max
wait_for_exit 120 || fail "the playback of the best round did not end"
cmp -s "$kept/records.txt" "$scratch/before.txt" && echo "ok   a playback changes no record" ||
  fail "a playback changed the records: $(cat "$kept/records.txt")"

# ---- "Watch the best round" in the options ----
# Records is the row above Quit; its page opens on Watch. The playback, sped
# up to unpaced, plays to the best round's closing picture, and what it plays
# is what --record writes; the records stay as they were.
start_game "$data" "$kuzari" --window --lang ja --record "$scratch/watched.txt"
wait_for_window || fail "no window"
sleep 1
xdotool key F1 Up Up Return Return
sleep 1
xdotool key plus plus plus plus
wait_for_exit 120 || fail "the best round watched from the options did not end"
[ "$(tail -n 1 "$scratch/watched.txt")" = "$(tail -n 1 "$kept/best-ja.txt")" ] &&
  echo "ok   the best round watched from the options ends on $(tail -n 1 "$kept/best-ja.txt")" ||
  fail "the best round watched ended on '$(tail -n 1 "$scratch/watched.txt")': $(cat "$game_log")"
cmp -s "$kept/records.txt" "$scratch/before.txt" || fail "watching the best round changed the records"

# ---- A damaged file ----
printf 'ja rounds 3\nja perfect 9\n' >"$kept/records.txt"
start_game "$data" "$kuzari" --window
wait_for_window || fail "no window"
sleep 1
xdotool key Escape
wait_for_exit 10 || fail "the game did not end on Escape"
grep -q "records in $kept/records.txt are damaged (the records of ja do not agree with each other); they are set aside as $kept/records.txt.damaged" "$game_log" &&
  echo "ok   a damaged file is named and set aside" || fail "the damaged records: $(cat "$game_log")"
[ "$(cat "$kept/records.txt.damaged" 2>/dev/null)" = "$(printf 'ja rounds 3\nja perfect 9')" ] ||
  fail "the damaged records were not kept as they were"
[ ! -e "$kept/records.txt" ] || fail "a records file was written though no round was played"

[ $failures -eq 0 ]
