#!/usr/bin/env bash
# The real game's sound options, under Xvfb: --nosound plays where no sound
# device opens; M mutes and unmutes everything; --music-volume 0 leaves the
# effects audible. The sound is SDL's disk audio driver's output, read back.
#   sound.sh KUZARI DATA_DIR X11_PROBE
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 data=$2 probe=$3
. "$(dirname "$0")/lib.sh"
start_xvfb 640x480

# ---- No sound device at all ----
SDL_AUDIODRIVER=no-such-driver start_game "$data" "$kuzari" --nosound
wait_for_window || fail "--nosound: no window"
wait_for_event '^title 3$' || fail "--nosound: the title's menu never came"
xdotool key Return
wait_for_event '^round 4$' || fail "--nosound: the round never began"
wait_for_frames 120  # the round plays, sounds and all asked for
kill -0 "$game_pid" 2>/dev/null || fail "--nosound: the game ended"
grep -qi "sound device\|DirectSound" "$game_log" && fail "--nosound: the sound box: $(cat "$game_log")"
xdotool key Escape
if wait_for_exit 10; then
  [ "$game_status" -eq 0 ] || fail "--nosound: exit status $game_status: $(cat "$game_log")"
else
  fail "--nosound: Escape did not end the game"
fi

# Without --nosound the box says why, and standard error how to play without sound.
SDL_AUDIODRIVER=no-such-driver start_game "$data" "$kuzari" --lang en
for _ in $(seq 100); do grep -q "nosound" "$game_log" && break; sleep 0.1; done
grep -q "could not be opened: .*" "$game_log" && grep -q "'kuzari --nosound' plays without sound" "$game_log" ||
  fail "no reason and no way round on standard error: $(cat "$game_log")"
# The box itself names the way round too (its text also goes to standard error).
for _ in $(seq 50); do grep -q "Start the game with --nosound" "$game_log" && break; sleep 0.1; done
grep -q "Start the game with --nosound" "$game_log" || fail "the sound box does not name --nosound: $(cat "$game_log")"
stop_game

# ALSA's own error lines stay off the terminal: the game's message says it all.
SDL_AUDIODRIVER=alsa AUDIODEV=hw:99 start_game "$data" "$kuzari" --lang en
wait_for_output "'kuzari --nosound' plays without sound" || fail "ALSA without its card: no message: $(cat "$game_log")"
grep -q '^ALSA lib' "$game_log" && fail "ALSA's own errors reached the terminal: $(grep '^ALSA lib' "$game_log")"
stop_game

# ---- M: all sound off and back ----
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$scratch/mute.raw" start_game "$data" "$kuzari"
wait_for_window || fail "mute: no window"
until_heard "$scratch/mute.raw" 'x{5,}$' || fail "mute: the title's music never sounded"
xdotool key m
until_heard "$scratch/mute.raw" 'x+-{10,}$'
xdotool key m
until_heard "$scratch/mute.raw" 'x+-{10,}x{5,}$'
stop_game
heard=$(levels "$scratch/mute.raw")
# Loud, then a second or more of silence, then loud again.
[[ $heard =~ x+-{10,}x+ ]] && echo "ok   mute: $heard" || fail "mute: the output went $heard"

# ---- No music, effects as loud as ever ----
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$scratch/effects.raw" start_game "$data" "$kuzari" --music-volume 0
wait_for_window || fail "music-volume: no window"
wait_for_event '^title 3$' || fail "music-volume: the title's menu never came"
until_heard "$scratch/effects.raw" '^-{15,}$'   # the title's music, silent
for _ in 1 2 3; do
  xdotool key Down   # the cursor's sound
  sleep 0.4
done
until_heard "$scratch/effects.raw" '^-{15,}.*x'
stop_game
heard=$(levels "$scratch/effects.raw")
[[ $heard =~ ^-{15,}.*x ]] && echo "ok   music volume 0: $heard" || fail "music volume 0: the output went $heard"

[ $failures -eq 0 ]
