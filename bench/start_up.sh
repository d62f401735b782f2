#!/usr/bin/env bash
# How long the real game takes to put its first picture on the screen, and
# where that time goes: RUNS starts (default 10) of `kuzari --playback` for 30
# frames, full screen on Xvfb at SIZE (default 1920x1080), SDL's dummy audio
# driver, KUZARI_PROFILE=1, a fresh settings and state folder each time. For
# each step of start-up: its median and its spread over the runs; then the
# first picture's best, median and worst, and the load average before and after.
#
#   bench/start_up.sh [BUILD_DIR] [RUNS] [SIZE]   (default build-bench 10 1920x1080)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-bench}"
runs="${2:-10}"
size="${3:-1920x1080}"
game="$PWD/$build/kuzari"
# The tests' own virtual screen: $scratch, removed at exit with the server.
source tests/real_game/lib.sh
start_xvfb "$size"
work="$scratch"

# The perfect round's first 30 frames: the title comes up and the game ends.
awk '/^#/ || NF == 0 { print; next }
  { if (total >= 30) exit; n = $1; if (total + n > 30) n = 30 - total; total += n; $1 = n; print }' \
  docs/screenshots/perfect.txt >"$work/script.txt"

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq "$runs"); do
  rm -rf "$work/home" && mkdir -p "$work/home"
  (cd data && HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_STATE_HOME="$work/home/state" \
     SDL_AUDIODRIVER=dummy KUZARI_PROFILE=1 "$game" --lang ja --playback "$work/script.txt" 2>&1 >/dev/null) |
    sed -n "s/^kuzari profile: start-up *\([0-9.]*\) ms \(.*\)/$run\t\2\t\1/p;
            s/^kuzari profile: first frame on the screen \([0-9.]*\) ms.*/$run\tfirst picture\t\1/p" >>"$work/steps"
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$runs starts at $size, full screen; each step's median (best to worst), ms"
awk -F'\t' '
  { if (!($2 in seen)) { seen[$2] = 1; order[++steps] = $2 } values[$2] = values[$2] " " $3 }
  END {
    for (i = 1; i <= steps; ++i) {
      n = split(values[order[i]], v, " ")
      for (a = 1; a <= n; ++a) for (b = a + 1; b <= n; ++b) if (v[b] + 0 < v[a] + 0) { t = v[a]; v[a] = v[b]; v[b] = t }
      printf "  %-40s %7.1f  (%.1f to %.1f)\n", order[i], v[int((n + 1) / 2)], v[1], v[n]
    }
  }' "$work/steps"
