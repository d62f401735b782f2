#!/usr/bin/env bash
# Installs the Debian packages Kuzari needs:
#   scripts/setup.sh play      what building, playing and packaging the game needs
#   scripts/setup.sh headless  what the build without the desktop needs (kuzari-replay, the in-process tests)
#   scripts/setup.sh web       what building the web edition needs
#   scripts/setup.sh test      all that, and what every test needs (the default)
#   scripts/setup.sh --check KIND  installs nothing: only the check of the commands below
# Does nothing when they are all there; uses sudo when not run as root. Then
# checks that every command the builds and tests of that kind call is there,
# and names the package of any that is not.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

play_packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libpng-dev libinih-dev libx11-dev
  libfluidsynth-dev             # the music's synthesiser, used directly
  timgm6mb-soundfont            # a small General MIDI soundfont for the music
  libdecor-0-plugin-1-cairo     # title bars on Wayland compositors that draw none
  file                          # cpack's Debian package generator looks at the binaries with it
)
headless_packages=(
  build-essential cmake libpng-dev libgtest-dev nlohmann-json3-dev
)
test_packages=(
  libgtest-dev nlohmann-json3-dev libbenchmark-dev
  clang libclang-rt-dev         # the fuzz targets (libFuzzer's runtime is a package of its own)
  xvfb xauth xfonts-base xdotool  # the tests that open the real window
  sway grim wtype               # the Wayland test: a headless compositor, its screenshots, a keyboard
  valgrind                      # the memcheck test
  dpkg-dev file desktop-file-utils appstream  # building and checking the Debian package
  python3 chromium chromium-driver python3-selenium  # the web edition's tests, in headless Chromium
  procps                        # ps and the load average, for the test run's own reports
)
web_packages=(
  cmake clang-14 lld-14 wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32 libclang-rt-14-dev-wasm32
  llvm-14                       # llvm-ar-14 and llvm-ranlib-14 index the WebAssembly archives
  binaryen                      # clang runs its wasm-opt on the module when it is there
  g++ pkg-config libfluidsynth-dev timgm6mb-soundfont vorbis-tools  # the music, recorded at build time
  python3                       # the site's assembly
  esbuild                       # the page's scripts bundled and minified
  libpng-dev                    # the page's icons (tools/icongen)
)

# The commands each kind's builds and tests call, with the package that has each.
play_commands=(c++:g++ cmake:cmake pkg-config:pkg-config dpkg-shlibdeps:dpkg-dev file:file)
headless_commands=(c++:g++ cmake:cmake)
web_commands=(clang-14:clang-14 clang++-14:clang-14 wasm-ld-14:lld-14 llvm-ar-14:llvm-14 llvm-ranlib-14:llvm-14
  wasm-opt:binaryen oggenc:vorbis-tools g++:g++ python3:python3 esbuild:esbuild)
test_commands=(clang++:clang Xvfb:xvfb xauth:xauth xdotool:xdotool sway:sway grim:grim wtype:wtype
  valgrind:valgrind dpkg-deb:dpkg desktop-file-validate:desktop-file-utils appstreamcli:appstream
  chromium:chromium chromedriver:chromium-driver ps:procps)

check_only=""
[ "${1:-}" = --check ] && { check_only=1; shift; }
kind=${1:-test}
case "$kind" in
  play) packages=("${play_packages[@]}"); commands=("${play_commands[@]}") ;;
  headless) packages=("${headless_packages[@]}"); commands=("${headless_commands[@]}") ;;
  web) packages=("${web_packages[@]}"); commands=("${web_commands[@]}") ;;
  test) packages=("${play_packages[@]}" "${test_packages[@]}" "${web_packages[@]}")
        commands=("${play_commands[@]}" "${test_commands[@]}" "${web_commands[@]}") ;;
  *) echo "usage: scripts/setup.sh [--check] [play|headless|web|test]" >&2; exit 2 ;;
esac

# check_commands: every command there, or the packages to install named.
check_commands() {
  local entry lacking=()
  for entry in "${commands[@]}"; do
    command -v "${entry%%:*}" >/dev/null 2>&1 || lacking+=("${entry%%:*} (package ${entry#*:})")
  done
  [ ${#lacking[@]} -eq 0 ] && return 0
  echo "setup: these commands are missing: ${lacking[*]}" >&2
  return 1
}

[ -z "$check_only" ] || { check_commands; exit; }
missing=()
for package in $(printf '%s\n' "${packages[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  run_stage "setup-$kind-update" "updating the package lists..." $sudo apt-get update || exit 1
  # With what they depend on, the packages asked for are usually many more.
  in_all=$(apt-get install -s --no-install-recommends "${missing[@]}" 2>/dev/null | grep -c '^Inst ')
  run_stage "setup-$kind" "installing ${#missing[@]} packages (${in_all:-?} with what they need)..." \
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" || exit 1
fi
check_commands
