#!/usr/bin/env bash
# Builds Kuzari for another machine with Debian's cross compilers and runs it
# there under qemu-user, to show that it plays the very same game:
#   scripts/cross.sh arm64|s390x [--quick] [--desktop]
# arm64 is the Raspberry Pi's and the ARM laptops' machine; s390x a big-endian
# one. It installs what it needs (through sudo when not root), builds the
# headless programs and the test suite in build-cross-ARCH and the host's
# kuzari-replay in build-cross-host, runs the suite under the emulator, then
# replays every script the suite played, and the committed ones, with both
# kuzari-replays and compares their traces byte for byte.
#   --quick    only the committed scripts' comparison, without the suite
#   --desktop  also the desktop game and its .deb (build-cross-ARCH-desktop),
#              started under the emulator on Xvfb until it shows its title
# The last line counts the checks passed and failed; the exit status is
# non-zero when anything failed. The native builds are left alone.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
jobs="$(nproc)"
started=$SECONDS

usage() { echo "usage: scripts/cross.sh arm64|s390x [--quick] [--desktop]" >&2; exit 2; }
arch=${1:-}
# multiarch: the target's libraries installed beside the host's; else
# unpacked into the build's own folder (Debian's s390x archive can lag behind
# the host's versions, which multiarch then refuses).
case "$arch" in
  arm64) triple=aarch64-linux-gnu multiarch=yes ;;
  s390x) triple=s390x-linux-gnu multiarch=no ;;
  *) usage ;;
esac
shift
quick=no desktop=no
for option in "$@"; do
  case "$option" in
    --quick) quick=yes ;;
    --desktop) desktop=yes ;;
    *) usage ;;
  esac
done

build=build-cross-$arch
host_build=build-cross-host
toolchain=cmake/toolchains/$triple.cmake
passed=0
failed=0
failed_stages=()

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The host's own compiler and libpng too, for the host's kuzari-replay that the
# traces are compared with: the cross compilers do not bring them.
host_packages=(crossbuild-essential-"$arch" build-essential libpng-dev qemu-user-static cmake pkg-config
  nlohmann-json3-dev dpkg-dev)
if [ "$multiarch" = yes ]; then
  target_packages=(libstdc++6:"$arch" libpng-dev:"$arch" libgtest-dev:"$arch")
else
  host_packages+=(googletest)  # GoogleTest's source, built with the cross compiler
  target_packages=()
  unpacked_packages=(libpng16-16 libpng-dev zlib1g zlib1g-dev)
  root=$PWD/$build/target-root
fi
if [ "$desktop" = yes ] && [ "$multiarch" = no ]; then
  echo "the desktop build needs multiarch, which $arch does not have here" >&2
  exit 2
fi
if [ "$desktop" = yes ]; then
  host_packages+=(xvfb xauth xdotool)
  target_packages+=(libsdl2-dev:"$arch" libsdl2-mixer-dev:"$arch" libfluidsynth-dev:"$arch"
    libinih-dev:"$arch" libx11-dev:"$arch")
  # FluidSynth takes either JACK; the target's must be the one the host has,
  # as the two cannot be installed side by side.
  if dpkg-query -W -f='${Status}' libjack0 2>/dev/null | grep -q "install ok installed"; then
    target_packages+=(libjack0:"$arch" libjack-dev:"$arch")
  else
    target_packages+=(libjack-jackd2-0:"$arch" libjack-jackd2-dev:"$arch")
  fi
fi

# install_packages: what is missing, never at the cost of a native package.
install_packages() {
  local missing=() package
  for package in "${host_packages[@]}" "${target_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    [ "$multiarch" = yes ] || [ -f "$root/usr/lib/cmake/GTest/GTestConfig.cmake" ] && return 0
  fi
  if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    echo "adding $arch to dpkg's architectures..."
    $sudo dpkg --add-architecture "$arch" || return 1
  fi
  run_stage "cross-$arch-update" "updating the package lists..." $sudo apt-get update || return 1
  [ ${#missing[@]} -eq 0 ] && return 0
  # Multiarch can only install a library for two machines at the same version,
  # and a -dev package can conflict with the host's: should apt want to remove
  # anything to make room, nothing is installed.
  local plan
  plan=$(apt-get install -s --no-install-recommends "${missing[@]}" 2>&1)
  if grep -q '^E:' <<<"$plan" || grep -q '^Remv ' <<<"$plan"; then
    echo "  installing ${missing[*]} would remove packages or cannot be done:" >&2
    grep -E '^(Remv |E:| )' <<<"$plan" | head -n 20 | sed 's/^/  | /' >&2
    return 1
  fi
  run_stage "cross-$arch-install" \
    "installing ${#missing[@]} packages ($(grep -c '^Inst ' <<<"$plan") with what they need)..." \
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# unpack_target_root: the target's libraries unpacked into $root, and
# GoogleTest built there from its source.
unpack_target_root() {
  [ -f "$root/usr/lib/cmake/GTest/GTestConfig.cmake" ] && return 0
  rm -rf "$root" "$build/debs" "$build/googletest"
  mkdir -p "$root" "$build/debs"
  local package deb
  for package in "${unpacked_packages[@]}"; do
    (cd "$build/debs" && apt-get download "$package:$arch") >>"$log_dir/cross-$arch-root.log" 2>&1 || return 1
  done
  for deb in "$build"/debs/*.deb; do dpkg -x "$deb" "$root" || return 1; done
  cmake -S /usr/src/googletest -B "$build/googletest" --toolchain "$PWD/$toolchain" -DKUZARI_CROSS_ROOT="$root" \
      -DCMAKE_INSTALL_PREFIX="$root/usr" -DBUILD_GMOCK=OFF -DCMAKE_BUILD_TYPE=Release &&
    cmake --build "$build/googletest" -j"$jobs" && cmake --install "$build/googletest"
}

# configure_and_build DIR NAME TARGETS CMAKE-ARGS...: configures and builds; TARGETS is a
# space-separated list, or "all".
configure_and_build() {
  local dir=$1 name=$2 targets=$3
  shift 3
  local target_args=()
  [ "$targets" = all ] || for target in $targets; do target_args+=(--target "$target"); done
  run_stage "configure-$name" "configuring the $name build..." \
      cmake -S . -B "$dir" -DKUZARI_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" &&
    run_stage "build-$name" "building the $name build..." cmake --build "$dir" -j"$jobs" "${target_args[@]}"
}

# run_counted NAME MESSAGE GOOD BAD COMMAND...: runs the command with its
# output in log/NAME.log, and counts its lines matching GOOD and BAD.
run_counted() {
  local name=$1 message=$2 good=$3 bad=$4 status=0 began=$SECONDS
  shift 4
  local log="$log_dir/$name.log"
  mkdir -p "$log_dir"
  echo "$message"
  with_progress "$log" "$@" || status=$?
  local good_lines bad_lines
  good_lines=$(grep -cE "$good" "$log")
  bad_lines=$(grep -cE "$bad" "$log")
  passed=$((passed + good_lines))
  failed=$((failed + bad_lines))
  echo "  $good_lines passed, $bad_lines failed ($((SECONDS - began)) s)"
  if [ "$status" -ne 0 ] || [ "$bad_lines" -ne 0 ]; then
    failed_stages+=("$name")
    grep -E -A 2 "$bad" "$log" | head -n 40 >&2
    echo "  the whole run: $log" >&2
  fi
}

# check DESCRIPTION COMMAND...: one counted check.
check() {
  local description=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "  $description"
  else
    failed=$((failed + 1))
    failed_stages+=("$arch: $description")
  fi
}

# desktop_build: the game and its .deb, and the game started on Xvfb.
desktop_build() {
  local dir=$build-desktop
  if ! configure_and_build "$dir" "cross-$arch-desktop" all "${cross_args[@]}" -DKUZARI_DESKTOP=ON -DKUZARI_TESTS=OFF; then
    failed_stages+=("$arch desktop build")
    return
  fi
  rm -rf "$dir/package"
  if run_stage "cross-$arch-package" "making the $arch .deb..." \
      cpack --config "$dir/CPackConfig.cmake" -G DEB -B "$dir/package"; then
    local deb
    deb=$(ls "$dir"/package/kuzari_*_"$arch".deb 2>/dev/null | head -n 1)
    check "the package is ${deb:-missing}" test -n "$deb"
  else
    failed_stages+=("$arch package")
  fi
  check "the $arch game shows its title under qemu on Xvfb" \
    tests/cross/title_under_emulator.sh "$emulator" "$dir/kuzari" data "$log_dir/cross-$arch-title.png"
}

install_packages || failed_stages+=("setup")
cross_args=(--toolchain "$toolchain")
if [ "$multiarch" = no ]; then
  mkdir -p "$log_dir"
  run_stage "cross-$arch-root" "unpacking the $arch libraries and building GoogleTest for it..." \
    unpack_target_root || failed_stages+=("$arch libraries")
  cross_args+=(-DKUZARI_CROSS_ROOT="$root")
fi

# The emulator, for the desktop game; the toolchain file finds it the same way.
emulator=$(command -v "qemu-${triple%%-*}-static" || command -v "qemu-${triple%%-*}")

# The host's kuzari-replay for the comparison; the game's own sources only.
host_ok=yes
configure_and_build "$host_build" cross-host kuzari-replay -DKUZARI_DESKTOP=OFF -DKUZARI_TESTS=OFF || host_ok=no

if [ "$quick" = yes ]; then
  targets=kuzari-replay
else
  targets=all
fi
if configure_and_build "$build" "cross-$arch" "$targets" "${cross_args[@]}" -DKUZARI_DESKTOP=OFF -DKUZARI_TESTS=ON; then
  if [ "$quick" = no ]; then
    # Each script the suite plays is kept, for the comparison below.
    rm -rf "$build/kept-scripts" && mkdir -p "$build/kept-scripts"
    KUZARI_KEEP_SCRIPTS="$PWD/$build/kept-scripts" run_counted "ctest-cross-$arch" \
      "running $(ctest --test-dir "$build" -N | sed -n 's/^Total Tests: //p') tests of the $arch build under qemu..." \
      '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(\*\*\*(Failed|Timeout|Exception)|Not Run)' \
      ctest --test-dir "$build" -j"$jobs" --output-on-failure --timeout 1200
  fi
  if [ "$host_ok" = yes ]; then
    scripts=(tests/reference/*.script docs/screenshots/perfect.txt tests/soak/memcheck_round.txt)
    # The two reference runs in English too, whose words are drawn apart.
    rm -rf "$build/english" && mkdir -p "$build/english"
    for script in tests/reference/*.script; do
      cp "$script" "$build/english/"
      echo "--seed 1 --lang en" >"$build/english/$(basename "${script%.*}").args"
      scripts+=("$build/english/$(basename "$script")")
    done
    [ "$quick" = yes ] || scripts+=("$build"/kept-scripts/*.script)
    run_counted "traces-cross-$arch" "comparing the traces of ${#scripts[@]} scripts, here and on $arch..." \
      '^same ' '^DIFFERENT ' \
      tests/cross/compare_traces.sh "$host_build/kuzari-replay" "$build/kuzari-replay-emulated" data "${scripts[@]}"
  else
    failed_stages+=("host build")
  fi
else
  failed_stages+=("$arch build")
fi

[ "$desktop" = no ] || desktop_build

echo "tests: $passed passed, $failed failed ($(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s)"
if [ ${#failed_stages[@]} -gt 0 ]; then
  echo "failed: ${failed_stages[*]}" >&2
  exit 1
fi
