#!/usr/bin/env bash
# Builds Kuzari in Release with the benchmarks and measures its speed:
#   1. each heaviest frame beside its memcpy floor (Google Benchmark);
#   2. kuzari-replay's throughput over a complete round, title to title;
#   3. the music on SDL's disk audio driver (kuzari-music-bench);
#   4. with --real-game, the real game under Xvfb (bench/real_game.sh).
# Figures vary with what else the machine is doing: run it on a quiet machine
# (`uptime` below about 0.7) or take the best of several runs.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KUZARI_BENCH_BUILD:-build-bench}"
scripts/setup.sh  # libbenchmark-dev, and xvfb and xdotool for the real game

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKUZARI_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target kuzari_bench kuzari-replay kuzari kuzari-music-bench

echo "== Frame costs beside their floors (best of 5)"
"$build"/bench/kuzari_bench --benchmark_repetitions=5 --benchmark_min_time=0.2

# The won round of tests/reference: the title, start, 9000 frames of play with
# its opening and the girl hopping and throwing, the end cut-in, the ranking
# with its mosaic, and back on the title.
script=tests/reference/won_round.script
frames="$(awk '{ sub(/#.*/, "") } NF { n += $1 } END { print n }' "$script")"
replay_fps() {
    local best=0 t0 t1 fps
    for _ in 1 2 3; do
        t0="$(date +%s%N)"
        "$build"/kuzari-replay --seed 1 --data data "$@" "$script" >/dev/null
        t1="$(date +%s%N)"
        fps=$((frames * 1000000000 / (t1 - t0)))
        [ "$fps" -gt "$best" ] && best="$fps"
    done
    echo "$best"
}
echo "== kuzari-replay over a complete round ($frames frames, best of 3)"
echo "  the game alone:              $(replay_fps) frames/s"
echo "  writing the trace as well:   $(replay_fps --trace /dev/null) frames/s"

echo "== Music: changes of piece, the soundfont, levels (disk audio driver, about a minute)"
"$build"/bench/kuzari-music-bench data 2>&1 | grep -v '^CRITICAL'

if [ "${1:-}" = "--real-game" ]; then
    bench/real_game.sh "$build"
fi
