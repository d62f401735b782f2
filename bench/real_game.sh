#!/usr/bin/env bash
# The real game playing a whole game by itself (the recorded perfect round,
# --playback: the title, a round, the ranking, the staff screen and the title
# again, about three minutes) under Xvfb at 640 x 480 and at 1920 x 1080, full
# screen, with SDL's dummy audio driver (the mixer and FluidSynth still run in
# real time on SDL's audio thread). For each size: every thread's share of one
# core and the X server's over the whole game, the game's KUZARI_PROFILE report
# (frame intervals, the music's changes, the first frame), and peak memory.
#
#   bench/real_game.sh [BUILD_DIR] [SIZE...]   (default build-bench; 640x480 1920x1080)
#   KUZARI_BENCH_FRAMES=N    play only the script's first N frames
#   KUZARI_BENCH_OPTIONS=... more options for the game (--window, say)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-bench}"
shift || true
sizes=("${@:-640x480}")
[ $# -eq 0 ] && sizes=(640x480 1920x1080)
game="$PWD/$build/kuzari"
work="$(mktemp -d)"
xvfb=""
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

script="$PWD/docs/screenshots/perfect.txt"
if [ -n "${KUZARI_BENCH_FRAMES:-}" ]; then
  awk -v limit="$KUZARI_BENCH_FRAMES" '/^#/ || NF == 0 { print; next }
    { if (total >= limit) exit; n = $1; if (total + n > limit) n = limit - total; total += n; $1 = n; print }' \
    "$script" >"$work/script.txt"
  script="$work/script.txt"
fi

# utime + stime of every thread, in clock ticks: "tid name ticks" per line.
thread_ticks() {
  for task in /proc/"$1"/task/*; do
    local tid name stat
    tid="${task##*/}"
    name="$(cat "$task/comm" 2>/dev/null)" || continue
    stat="$(cat "$task/stat" 2>/dev/null)" || continue
    stat="${stat##*) }"  # the fields after the name
    # shellcheck disable=SC2086
    set -- $stat
    echo "$tid ${name// /_} $((${12} + ${13}))"
  done
}

run_size() {
  local size=$1 number=87
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
  export DISPLAY=":$number"

  # shellcheck disable=SC2086
  (cd data && SDL_AUDIODRIVER=dummy KUZARI_PROFILE=1 exec "$game" --lang ja --playback "$script" \
     ${KUZARI_BENCH_OPTIONS:-} 2>"$work/profile") &
  pid=$!
  local hz started before server_before after="" server_after="" peak=""
  hz="$(getconf CLK_TCK)"
  started="$(date +%s.%N)"
  before="$(thread_ticks "$pid")"
  server_before="$(awk '{ print $14 + $15 }' /proc/$xvfb/stat)"
  # Sampled every second: the last sample before the game ends counts.
  while kill -0 "$pid" 2>/dev/null; do
    local now sample
    sample="$(thread_ticks "$pid")"
    [ -n "$sample" ] && after="$sample" && now="$(date +%s.%N)" && ended="$now" &&
      server_after="$(awk '{ print $14 + $15 }' /proc/$xvfb/stat)" &&
      peak="$(awk '/VmHWM/ { print $2, $3 }' /proc/"$pid"/status 2>/dev/null || true)"
    sleep 1
  done
  wait "$pid" || true
  local main_thread=$pid
  pid=""
  echo "== ${size}, full screen${KUZARI_BENCH_OPTIONS:+ ($KUZARI_BENCH_OPTIONS)}: CPU as a share of one core over the game"
  awk -v t0="$started" -v t1="$ended" -v hz="$hz" -v main="$main_thread" '
      NR == FNR { start[$1] = $3; next }
      { used = ($3 - start[$1]) / hz / (t1 - t0) * 100; total += used
        if (used >= 0.05) printf "  %-8s %-16s %6.2f %%\n", ($1 == main ? "main" : $1), $2, used }
      END { printf "  %-25s %6.2f %%\n", "all threads", total }' \
    <(echo "$before") <(echo "$after")
  awk -v t0="$started" -v t1="$ended" -v hz="$hz" -v a="$server_before" -v b="$server_after" \
    'BEGIN { printf "  %-25s %6.2f %%  (the X server, showing our frames)\n", "Xvfb", (b - a) / hz / (t1 - t0) * 100 }'
  echo "  peak resident memory: $peak"
  sed 's/^/  /' "$work/profile"
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null || true
  xvfb=""
}

for size in "${sizes[@]}"; do run_size "$size"; done
