#!/usr/bin/env bash
# Installs the Debian packages Kuzari needs:
#   scripts/setup.sh play   what building and playing the game needs
#   scripts/setup.sh web    what building the web edition needs
#   scripts/setup.sh test   all that, and what every test needs (the default)
# Does nothing when they are all there; uses sudo when not run as root.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

play_packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libpng-dev libinih-dev libx11-dev
  libfluidsynth-dev             # the music's synthesiser, used directly
  timgm6mb-soundfont            # a small General MIDI soundfont for the music
  libdecor-0-plugin-1-cairo     # title bars on Wayland compositors that draw none
)
test_packages=(
  libgtest-dev nlohmann-json3-dev libbenchmark-dev
  clang libclang-rt-dev         # the fuzz targets (libFuzzer's runtime is a package of its own)
  xvfb xauth xfonts-base xdotool  # the tests that open the real window
  sway grim wtype               # the Wayland test: a headless compositor, its screenshots, a keyboard
  valgrind                      # the memcheck test
  dpkg-dev file desktop-file-utils appstream  # building and checking the Debian package
  python3 chromium chromium-driver python3-selenium  # the web edition's tests, in headless Chromium
)

web_packages=(
  cmake clang-14 lld-14 wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32 libclang-rt-14-dev-wasm32
  binaryen                      # clang runs its wasm-opt on the module when it is there
  g++ pkg-config libfluidsynth-dev timgm6mb-soundfont vorbis-tools  # the music, recorded at build time
  python3                       # the site's assembly
  libpng-dev                    # the page's icons (tools/icongen)
)

kind=${1:-test}
case "$kind" in
  play) packages=("${play_packages[@]}") ;;
  web) packages=("${web_packages[@]}") ;;
  test) packages=("${play_packages[@]}" "${test_packages[@]}" "${web_packages[@]}") ;;
  *) echo "usage: scripts/setup.sh [play|web|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
run_stage "setup-$kind-update" "updating the package lists..." $sudo apt-get update || exit 1
# With what they depend on, the packages asked for are usually many more.
in_all=$(apt-get install -s --no-install-recommends "${missing[@]}" 2>/dev/null | grep -c '^Inst ')
run_stage "setup-$kind" "installing ${#missing[@]} packages (${in_all:-?} with what they need)..." \
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
