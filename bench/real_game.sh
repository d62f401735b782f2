#!/usr/bin/env bash
# The real game under Xvfb (a 640 x 480 screen), with SDL's dummy audio driver
# so that FluidSynth and the mixer still run on SDL's audio thread: CPU use of
# each thread as a share of one core, over 10 s of the title and 10 s of play;
# peak resident memory; and the game's own KUZARI_PROFILE report (frame work,
# presenting, waiting, frame count and interval, time to the first frame).
#
#   bench/real_game.sh [BUILD_DIR]     (default build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-bench}"
game="$PWD/$build/kuzari"
seconds="${KUZARI_MEASURE_SECONDS:-10}"
work="$(mktemp -d)"

# The first free display number from 87 on.
number=87
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
display=":$number"
Xvfb "$display" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
export DISPLAY="$display"

# utime + stime of every thread, in clock ticks: "tid name ticks" per line.
thread_ticks() {
    for task in /proc/"$1"/task/*; do
        local tid name stat
        tid="${task##*/}"
        name="$(cat "$task/comm" 2>/dev/null)" || continue
        stat="$(cat "$task/stat" 2>/dev/null)" || continue
        stat="${stat##*) }"  # the fields after the name
        set -- $stat
        echo "$tid ${name// /_} $((${12} + ${13}))"
    done
}

process_ticks() {
    local stat
    stat="$(cat /proc/"$1"/stat)"
    stat="${stat##*) }"
    set -- $stat
    echo $((${12} + ${13}))
}

# Prints each thread's CPU share of one core over `seconds` of wall time.
measure() {
    local label="$1" before after
    before="$(thread_ticks "$pid")"
    local t0 t1 server_before server_after
    server_before="$(process_ticks "$xvfb")"
    t0="$(date +%s.%N)"
    sleep "$seconds"
    t1="$(date +%s.%N)"
    after="$(thread_ticks "$pid")"
    server_after="$(process_ticks "$xvfb")"
    local hz
    hz="$(getconf CLK_TCK)"
    echo "== $label: CPU as a share of one core over ${seconds} s"
    awk -v t0="$t0" -v t1="$t1" -v hz="$hz" -v main="$pid" '
        NR == FNR { start[$1] = $3; next }
        { used = ($3 - start[$1]) / hz / (t1 - t0) * 100; total += used
          printf "  %-8s %-16s %6.2f %%\n", ($1 == main ? "main" : $1), $2, used }
        END { printf "  %-25s %6.2f %%\n", "all threads", total }' \
        <(echo "$before") <(echo "$after")
    awk -v t0="$t0" -v t1="$t1" -v hz="$hz" -v a="$server_before" -v b="$server_after" \
        'BEGIN { printf "  %-25s %6.2f %%  (the X server, showing our frames)\n", "Xvfb", (b - a) / hz / (t1 - t0) * 100 }'
}

# Holds the key for a few frames: the game reads Enter by polling the keyboard
# once a frame, so a press and release within one frame would go unseen.
key() {
    local window
    window="$(xdotool search --name '^Kuzari$' | head -1)"
    xdotool keydown --window "$window" "$1"
    sleep 0.1
    xdotool keyup --window "$window" "$1"
}

(cd data && SDL_AUDIODRIVER=dummy KUZARI_PROFILE=1 exec "$game" 2>"$work/profile") &
pid=$!
sleep 3  # start-up and the title's opening wipe
measure "Title"
key Return
sleep 4  # the closing wipe, the round's opening, the bowls and the girl dropping in
measure "Play (nobody defends the bowls)"
echo "== Peak resident memory: $(awk '/VmHWM/ { print $2, $3 }' /proc/"$pid"/status)"
[ -n "${KUZARI_SCREENSHOT:-}" ] && xwd -root -silent -display "$display" >"$KUZARI_SCREENSHOT"
key Escape
wait "$pid" || true
pid=""
cat "$work/profile"
