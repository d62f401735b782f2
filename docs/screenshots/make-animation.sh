#!/usr/bin/env bash
# Makes round.gif, the README's picture of the game in play: six seconds of
# the perfect round recorded in perfect.txt, shot by kuzari-replay every third
# frame and joined by ImageMagick at twice the size, pixels kept sharp.
#   docs/screenshots/make-animation.sh [BUILD_DIR] [FIRST_FRAME]   (default: build 6640)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
first="${2:-6640}"
replay="$build/kuzari-replay"
[ -x "$replay" ] || cmake --build "$build" --target kuzari-replay
command -v convert >/dev/null || { echo "ImageMagick's convert is needed" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

shots=()
for i in $(seq 0 119); do
  shots+=(--shot "$((first + 3 * i)):$(printf '%s/%03d.png' "$work" "$i")")
done
"$replay" --seed 1 --data "$root/data" --frames "$((first + 360))" "${shots[@]}" "$here/perfect.txt" >/dev/null

# Three frames of 58.8 a second last 5.1 hundredths; GIF counts whole ones.
convert -delay 5 -loop 0 "$work"/*.png -filter point -resize 200% -layers Optimize "$here/round.gif"
echo "$here/round.gif: $(stat -c %s "$here/round.gif") bytes"
