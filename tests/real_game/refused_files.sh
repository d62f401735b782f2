#!/usr/bin/env bash
# The real game with something other than a file in a file's place, under
# Xvfb: a FIFO, a folder or /dev/zero as the script to play back, the
# settings file or a data file is refused with its reason at once; nothing
# waits on it or reads it without end.
#   refused_files.sh KUZARI DATA_DIR X11_PROBE
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 data=$2 probe=$3
. "$(dirname "$0")/lib.sh"
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$scratch/config"
mkfifo "$scratch/fifo"
mkdir "$scratch/folder"

# ---- A script to play back: refused, and the game does not start ----
for stand_in in "$scratch/fifo:is a FIFO" "$scratch/folder:is a directory" "/dev/zero:is a character device"; do
  path=${stand_in%%:*} reason=${stand_in#*:}
  start_game "$scratch" "$kuzari" --playback "$path"
  if wait_for_exit 10; then
    [ "$game_status" -ne 0 ] || fail "--playback $path: exit status 0"
    grep -q "cannot play back $path: $reason" "$game_log" || fail "--playback $path: $(cat "$game_log")"
  else
    fail "--playback $path: still running after 10 s"
  fi
done

# ---- The settings file: refused with its reason; the game plays on the defaults ----
for stand_in in "$scratch/fifo:is a FIFO" "$scratch/folder:is a directory" "/dev/zero:is a character device"; do
  path=${stand_in%%:*} reason=${stand_in#*:}
  start_game "$scratch" "$kuzari" --config "$path"
  wait_for_window || fail "--config $path: no window: $(cat "$game_log")"
  grep -q "cannot read $path: .*$reason.*; playing with the defaults" "$game_log" ||
    fail "--config $path: $(cat "$game_log")"
  stop_game
done

# ---- A data file: missing to the game, which says why and goes on ----
cp -r "$data" "$scratch/data"
rm "$scratch/data/midi/title.mid"
mkfifo "$scratch/data/midi/title.mid"
start_game "$scratch" "$kuzari" --data "$scratch/data"
wait_for_window || fail "a FIFO for a data file: no window: $(cat "$game_log")"
for _ in $(seq 100); do grep -q "title.mid" "$game_log" && break; sleep 0.1; done
grep -q "midi/title.mid: is a FIFO" "$game_log" || fail "a FIFO for a data file: $(cat "$game_log")"
kill -0 "$game_pid" 2>/dev/null || fail "a FIFO for a data file: the game ended"
stop_game

[ $failures -eq 0 ] || exit 1
echo "PASS"
