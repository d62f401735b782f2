#!/usr/bin/env bash
# The real game with something other than a file in a file's place, under
# Xvfb: a FIFO, a folder or /dev/zero as the script to play back, the
# settings file or a data file is refused with its reason at once; nothing
# waits on it or reads it without end. A pipe with no reader as the recording
# and a FIFO as the desktop's folders list (F12) hold nothing up either; an
# empty recording and a --data folder without the data are refused.
#   refused_files.sh KUZARI DATA_DIR X11_PROBE
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
kuzari=$1 data=$2 probe=$3
. "$(dirname "$0")/lib.sh"
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$scratch/config"
mkfifo "$scratch/fifo"
mkdir "$scratch/folder"

# refused OPTION PATH SAID: the game given OPTION PATH ends at once, not 0,
# saying SAID.
refused() {
  start_game "$scratch" "$kuzari" "$1" "$2"
  if wait_for_exit 10; then
    [ "$game_status" -ne 0 ] || fail "$1 $2: exit status 0"
    grep -qF "$3" "$game_log" || fail "$1 $2: $(cat "$game_log")"
  else
    fail "$1 $2: still running after 10 s"
  fi
}

# ---- A script to play back: refused, and the game does not start ----
for stand_in in "$scratch/fifo:is a FIFO" "$scratch/folder:is a directory" "/dev/zero:is a character device"; do
  path=${stand_in%%:*} reason=${stand_in#*:}
  refused --playback "$path" "cannot play back $path: $reason"
done

# ---- An empty recording to play back, and a --data folder without the data ----
: >"$scratch/empty.txt"
refused --playback "$scratch/empty.txt" "cannot play back $scratch/empty.txt: the file is empty"
refused --data "$scratch/no/such/typo" "cannot play with the data in $scratch/no/such/typo: No such file or directory"
refused --data "$scratch/folder" "cannot play with the data in $scratch/folder: it holds none of the game's data"

# ---- What the player typed is shown, not sent to the terminal ----
escape=$(printf '\033')
for args in "--captions:x${escape}[2J" "--playback:$scratch/a${escape}[31m"; do
  start_game "$scratch" "$kuzari" "${args%%:*}" "${args#*:}"
  wait_for_exit 10 || fail "${args%%:*} with an escape: still running after 10 s"
  grep -q "$escape" "$game_log" && fail "${args%%:*}: an escape reached the terminal: $(cat -v "$game_log")"
  grep -qF '\x1B[' "$game_log" || fail "${args%%:*}: the escape is not shown: $(cat -v "$game_log")"
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

# An effect file that is a FIFO fails the sound's start: the box says so, and
# does not send the player to --nosound, which would not help.
rm "$scratch/data/midi/title.mid"
cp "$data/midi/title.mid" "$scratch/data/midi/title.mid"
rm "$scratch/data/wave/05.wav"
mkfifo "$scratch/data/wave/05.wav"
start_game "$scratch" "$kuzari" --data "$scratch/data"
sound_box="DirectSound\|Could not start the sound"
for _ in $(seq 100); do grep -q "$sound_box" "$game_log" && break; sleep 0.1; done
grep -q "wave/05.wav: is a FIFO" "$game_log" && grep -q "$sound_box" "$game_log" ||
  fail "a FIFO for an effect file: $(cat "$game_log")"
grep -q "nosound" "$game_log" && fail "a FIFO for an effect file: --nosound advised: $(cat "$game_log")"
stop_game

# ---- Files the game writes to or looks in, not there to be read ----
# A pipe nobody reads from as the recording: refused at once, before any window.
refused --record "$scratch/fifo" "cannot record to $scratch/fifo: no program is reading from this pipe"
# A FIFO as the desktop's list of folders: F12 says so and saves the picture
# where the game started; Escape still ends the game.
mkdir -p "$scratch/config" "$scratch/home"
mkfifo "$scratch/config/user-dirs.dirs"
start_game "$scratch" env HOME="$scratch/home" "$kuzari" --window
wait_for_window || fail "F12 with a FIFO for user-dirs.dirs: no window: $(cat "$game_log")"
xdotool key F12
for _ in $(seq 100); do grep -q "screenshot" "$game_log" && break; sleep 0.1; done
grep -q "cannot read $scratch/config/user-dirs.dirs: is a FIFO" "$game_log" ||
  fail "F12 with a FIFO for user-dirs.dirs: $(cat "$game_log")"
grep -q "screenshot \./kuzari-.*\.png" "$game_log" || fail "F12 saved no screenshot: $(cat "$game_log")"
xdotool key Escape
wait_for_exit 10 || fail "F12 with a FIFO for user-dirs.dirs: Escape did not end the game"
rm -f "$scratch/config/user-dirs.dirs" "$scratch"/kuzari-*.png

[ $failures -eq 0 ] || exit 1
echo "PASS"
