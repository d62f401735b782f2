#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing Kuzari need.
# Does nothing when they are all there; uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libpng-dev
  libfluidsynth-dev             # the music's synthesiser, used directly
  timgm6mb-soundfont            # a small General MIDI soundfont for the music
  libgtest-dev nlohmann-json3-dev libbenchmark-dev
  clang libclang-rt-14-dev      # the fuzz targets (libFuzzer's runtime is a separate package)
  xvfb xauth xfonts-base libx11-dev  # the tests that open the real window (xdotool below)
  valgrind                      # the memcheck test
  dpkg-dev file desktop-file-utils xdotool  # building and checking the Debian package
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
