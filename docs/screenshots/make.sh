#!/usr/bin/env bash
# Regenerates the screenshots in this folder (the Japanese edition) and in en/
# (the English one) with kuzari-replay, so they can be refreshed whenever the
# art changes. Each screen is found in a first run's trace, then shot in a
# second run with the same script and seed.
#   docs/screenshots/make.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
replay="$build/kuzari-replay"
[ -x "$replay" ] || cmake --build "$build" --target kuzari-replay
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

lang=ja
run() {  # run SCRIPT TRACE [--shot N:FILE]...
  local script="$1" trace="$2"
  shift 2
  "$replay" --seed 1 --lang "$lang" --data "$root/data" --trace "$trace" "$@" "$script" >/dev/null
}

# First frame (counted from the given one) whose round state is $2 (python3 reads the trace).
first_state() {  # first_state TRACE STATE [FROM]
  python3 - "$1" "$2" "${3:-0}" <<'PY'
import json, sys
trace, state, start = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for line in open(trace):
    f = json.loads(line)
    if f["frame"] >= start and f["scenes"][2] == state:
        print(f["frame"]); break
else:
    sys.exit("state %d not reached" % state)
PY
}

shoot() {  # shoot OUT_DIR LANG
out="$1"
lang="$2"
mkdir -p "$out"

# Title and explanation: the opening wipe ends in frame 83; the explanation is
# chosen in frame 85 and shows from frame 168.
printf '83\n1 down\n1 enter\n120\n' > "$work/title.txt"
run "$work/title.txt" "$work/title.json" --shot "84:$out/title.png" --shot "200:$out/explanation.png"

# A defended round: hop between the lanes, throwing, refilling after each sweep.
{
  printf '83\n1 enter\n141\n'
  lane=1
  for sweep in $(seq 33); do
    for next in 2 3 2 1 0 1; do
      printf '20 enter\n1\n'
      if [ "$next" -gt "$lane" ]; then printf '1 down\n21\n'; else printf '1 up\n21\n'; fi
      lane=$next
    done
    printf '1 shift\n31\n'
  done
  printf '800\n'
} > "$work/won.txt"
run "$work/won.txt" "$work/won.json"
end_cutin=$(first_state "$work/won.json" 5)
ranking=$(first_state "$work/won.json" 6)
run "$work/won.txt" "$work/won.json" --shot "2000:$out/round.png" \
  --shot "$((end_cutin + 60)):$out/end-cutin.png" --shot "$((ranking + 32 + 68 + 32 + 40)):$out/ranking.png"

# An undefended round: the raiders eat everything.
printf '83\n1 enter\n3000\n' > "$work/lost.txt"
run "$work/lost.txt" "$work/lost.json"
miss_cutin=$(first_state "$work/lost.json" 8)
game_over=$(first_state "$work/lost.json" 10)
run "$work/lost.txt" "$work/lost.json" --shot "$((miss_cutin + 60)):$out/miss-cutin.png" \
  --shot "$((game_over + 5)):$out/game-over.png"

# The recorded perfect round reaches the staff screen, in either edition.
run "$here/perfect.txt" "$work/perfect.json"
ranking=$(first_state "$work/perfect.json" 6)
run "$here/perfect.txt" "$work/perfect.json" --shot "$((ranking + 351 + 100)):$out/staff.png"
}

shoot "$here" ja
shoot "$here/en" en
echo "screenshots written to $here"
