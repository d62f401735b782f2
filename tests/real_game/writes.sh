#!/usr/bin/env bash
# Every file the programs write is there whole or not at all: onto /dev/full
# and onto a full file system, --record, --write-config, F12 and
# kuzari-replay's --trace and --shot and a crash's black box say what failed and why, end with a
# non-zero status (F12's game goes on) and leave no file behind; a read-only
# file system is named as the reason; and a
# recording to a pipe replays exactly to its closing line.
#   writes.sh KUZARI KUZARI_REPLAY DATA_DIR X11_PROBE
# The full file system is a 64 KiB tmpfs in a mount namespace of the test's
# own; where one cannot be made, only /dev/full is tried.
# Exits 77 (skipped) when no X server can be started.
set -uo pipefail
if [ -z "${KUZARI_WRITES_NAMESPACE:-}" ] && unshare -m true 2>/dev/null; then
  KUZARI_WRITES_NAMESPACE=1 exec unshare -m "$0" "$@"
fi
kuzari=$1 replay=$2 data=$3 probe=$4
. "$(dirname "$0")/lib.sh"
start_xvfb 640x480
export SDL_AUDIODRIVER=dummy

full="$scratch/full"
mkdir "$full"
if [ -n "${KUZARI_WRITES_NAMESPACE:-}" ] && mount -t tmpfs -o size=64k tmpfs "$full" 2>/dev/null; then
  trap 'stop_game; umount "$full"; kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$scratch"' EXIT
  dd if=/dev/zero of="$full/filler" bs=4k 2>/dev/null
else
  echo "note: no tmpfs could be mounted; only /dev/full is tried"
  full=""
fi

# nothing_left FOLDER NAME: no file NAME nor any temporary of it in FOLDER.
nothing_left() {
  local left
  left=$(find "$1" -name "$2*" 2>/dev/null)
  [ -z "$left" ] || fail "left behind: $left"
}

# said_once FILE TEXT: TEXT is in FILE exactly once.
said_once() {
  local count
  count=$(grep -c -- "$2" "$1")
  [ "$count" = 1 ] || fail "'$2' said $count times: $(cat "$1")"
}

# last_frame RECORDING: "FRAME FB" from its closing line.
last_frame() { sed -n 's/^# frame \([0-9]*\) fb \([0-9a-f]*\)$/\1 \2/p' "$1"; }

# ---- kuzari-replay ----
: >"$scratch/empty.txt"  # a script of no frames: --frames says how many
for target in /dev/full ${full:+"$full/trace.jsonl"}; do
  "$replay" --seed 1 --frames 300 --data "$data" --trace "$target" "$scratch/empty.txt" 2>"$scratch/err"
  status=$?
  [ $status -ne 0 ] || fail "--trace $target: status 0"
  grep -q "cannot write the trace '$target': No space left on device" "$scratch/err" ||
    fail "--trace $target: $(cat "$scratch/err")"
done
"$replay" --seed 1 --frames 30 --data "$data" --trace - "$scratch/empty.txt" >/dev/full 2>"$scratch/err" &&
  fail "--trace - onto /dev/full: status 0"
grep -q "standard output.*No space left" "$scratch/err" || fail "--trace - onto /dev/full: $(cat "$scratch/err")"
if [ -n "$full" ]; then
  nothing_left "$full" trace.jsonl
  "$replay" --seed 1 --frames 10 --data "$data" --shot "5:$full/shot.png" "$scratch/empty.txt" 2>"$scratch/err" &&
    fail "--shot onto a full disk: status 0"
  grep -q "cannot write $full/shot.png: No space left" "$scratch/err" || fail "--shot: $(cat "$scratch/err")"
  nothing_left "$full" shot.png
fi

# ---- --write-config ----
if [ -n "$full" ]; then
  XDG_CONFIG_HOME="$full/config" "$kuzari" --write-config 2>"$scratch/err" && fail "--write-config onto a full disk: status 0"
  grep -q "cannot write $full/config/kuzari/kuzari.ini: No space left" "$scratch/err" ||
    fail "--write-config: $(cat "$scratch/err")"
  nothing_left "$full/config" kuzari.ini
fi

# ---- --record and F12 ----
# record_onto TARGET [PICTURES]: a short game recorded onto TARGET, F12
# pressed with the screenshots going to PICTURES; status 1 and one message.
record_onto() {
  local target=$1 pictures=${2:-$scratch}
  mkdir -p "$scratch/config"
  echo "XDG_PICTURES_DIR=\"$pictures\"" >"$scratch/config/user-dirs.dirs"
  start_game "$data" env XDG_CONFIG_HOME="$scratch/config" "$kuzari" --window --record "$target"
  wait_for_window || fail "no window recording onto $target"
  wait_for_event '^title 3$' || fail "recording onto $target: the title's menu never came"
  xdotool key Return F12
  wait_for_output 'kuzari-[0-9]+-[0-9]+\.png' || fail "recording onto $target: F12 said nothing"
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended when its recording onto $target failed"
  xdotool key Escape
  wait_for_exit 10 || fail "the game recording onto $target did not end on Escape"
  [ "${game_status:-0}" = 1 ] || fail "recording onto $target: status ${game_status:-?}, not 1"
  said_once "$game_log" "cannot record to $target: No space left on device; the game goes on unrecorded"
}
record_onto /dev/full
if [ -n "$full" ]; then
  record_onto "$full/played.txt" "$full"
  nothing_left "$full" played.txt
  grep -q "cannot write the screenshot $full/kuzari-.*\.png: No space left" "$game_log" ||
    fail "F12 onto a full disk: $(cat "$game_log")"
  nothing_left "$full" kuzari-
fi

# ---- A read-only file system: the settings and a crash's black box say so ----
readonly_fs="$scratch/readonly"
mkdir "$readonly_fs"
if [ -n "$full" ] && mount -t tmpfs -o ro,size=64k tmpfs "$readonly_fs" 2>/dev/null; then
  XDG_CONFIG_HOME="$readonly_fs/config" "$kuzari" --write-config 2>"$scratch/err" &&
    fail "--write-config onto a read-only file system: status 0"
  grep -q "cannot make the folder $readonly_fs/config: Read-only file system" "$scratch/err" ||
    fail "--write-config onto a read-only file system: $(cat "$scratch/err")"
  start_game "$data" env XDG_STATE_HOME="$readonly_fs/state" "$kuzari" --window
  wait_for_window || fail "no window for the crash onto a read-only file system"
  kill -SEGV "$game_pid"
  wait_for_exit 10 || fail "still running 10 s after SIGSEGV"
  grep -q "the black box could not be written in $readonly_fs/state/kuzari/: Read-only file system" "$game_log" ||
    fail "a black box onto a read-only file system: $(cat "$game_log")"
  umount "$readonly_fs"
fi

# ---- A crash's black box onto a full disk: said to be missing, and why ----
if [ -n "$full" ]; then
  start_game "$data" env XDG_STATE_HOME="$full/state" "$kuzari" --window
  wait_for_window || fail "no window for the crash onto a full disk"
  kill -SEGV "$game_pid"
  wait_for_exit 10 || fail "still running 10 s after SIGSEGV"
  grep -q "the black box could not be written in $full/state/kuzari/: No space left on device" "$game_log" ||
    fail "a black box onto a full disk: $(cat "$game_log")"
  nothing_left "$full/state/kuzari" crash-
fi

# ---- --record to a pipe ----
start_game "$data" sh -c "'$kuzari' --window --record /dev/stdout 2>'$scratch/err' | cat >'$scratch/piped.txt'"
wait_for_window || fail "no window recording to a pipe"
wait_for_event '^title 3$' || fail "recording to a pipe: the title's menu never came"
xdotool key Return
sleep 1
xdotool key Down
sleep 0.5
xdotool key Escape
wait_for_exit 10 || fail "the game recording to a pipe did not end on Escape"
recorded=$(last_frame "$scratch/piped.txt")
[ -n "$recorded" ] || fail "the piped recording has no closing line: $(head -c 300 "$scratch/piped.txt")"
replayed=$("$replay" --data "$data" --trace - "$scratch/piped.txt" | tail -n 1 |
  sed 's/.*"frame":\([0-9]*\),.*"fb":"\([0-9a-f]*\)".*/\1 \2/')
[ "$recorded" = "$replayed" ] && echo "ok   the piped recording replays to $replayed" ||
  fail "the piped recording closes on '$recorded', replays to '$replayed'"

[ $failures -eq 0 ]
