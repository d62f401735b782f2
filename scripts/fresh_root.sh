#!/usr/bin/env bash
# Proves the README's set-up promises on a bare machine: makes a fresh Debian 12
# minbase root with debootstrap, clones this repository's HEAD into it, and runs
# there, as a new user would:
#   scripts/fresh_root.sh headless   scripts/setup.sh headless, then the build without
#                                    the desktop and its tests
#   scripts/fresh_root.sh play       scripts/setup.sh play, the game built, and the
#                                    Debian package made with cpack
#   scripts/fresh_root.sh test       scripts/test.sh, the whole suite
#   scripts/fresh_root.sh cross      scripts/cross.sh arm64, the whole arm64 suite under qemu
# Each step's time is printed and kept in log/fresh-times.tsv. Needs root (debootstrap
# and chroot) and a Debian mirror; the root is made anew under build-fresh/KIND each run
# and removed afterwards unless KUZARI_KEEP_ROOT is set.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
kind=${1:-headless}
case "$kind" in headless|play|test|cross) ;; *) echo "usage: scripts/fresh_root.sh headless|play|test|cross" >&2; exit 2 ;; esac
[ "$(id -u)" -eq 0 ] || { echo "fresh_root.sh: debootstrap and chroot need root" >&2; exit 2; }

root=$PWD/build-fresh/$kind  # a root for each kind, so that two can run at once
mounted=()
cleanup() {
  local at
  for at in $(printf '%s\n' "${mounted[@]}" | tac); do umount -l "$at" 2>/dev/null || true; done
  [ -n "${KUZARI_KEEP_ROOT:-}" ] || rm -rf "$root"
}
trap cleanup EXIT
rm -rf "$root"
mkdir -p "$root"
command -v debootstrap >/dev/null || run_stage fresh-debootstrap-install "installing debootstrap..." \
  env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
run_stage fresh-debootstrap "making a fresh Debian 12 minbase root..." \
  debootstrap --variant=minbase bookworm "$root" "${KUZARI_MIRROR:-http://deb.debian.org/debian}"
for at in proc sys dev dev/pts dev/shm; do
  mount --bind "/$at" "$root/$at"
  mounted+=("$root/$at")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
# debootstrap leaves out what Debian's installer writes: without it "localhost" does
# not resolve, and the browser tests' driver cannot be reached.
printf '127.0.0.1\tlocalhost\n::1\tlocalhost ip6-localhost ip6-loopback\n' >"$root/etc/hosts"
git clone -q "$PWD" "$root/root/kuzari"

# inside NAME MESSAGE COMMAND: a stage run in the fresh root, from the clone.
inside() {
  run_stage "fresh-$1" "$2" chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash -c "cd /root/kuzari && $3"
}
case "$kind" in
  headless)
    inside setup "installing what the build without the desktop needs..." "scripts/setup.sh headless"
    inside build "building kuzari-replay and the tests without the desktop..." \
      "cmake -S . -B build-headless -DKUZARI_DESKTOP=OFF -DKUZARI_WERROR=ON && cmake --build build-headless -j$(nproc)"
    inside ctest "running the tests without the desktop..." "ctest --test-dir build-headless -j$(nproc)"
    ;;
  play)
    inside setup "installing what playing needs..." "scripts/setup.sh play"
    inside build "building the game as the README's install does..." \
      "cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DKUZARI_TESTS=OFF && cmake --build build-release -j$(nproc)"
    inside package "making the Debian package..." "cd build-release && cpack && ls kuzari_*.deb"
    ;;
  cross)
    inside cross "running scripts/cross.sh arm64 in the fresh root..." "scripts/cross.sh arm64"
    tail -n 3 "$log_dir/fresh-cross.log"
    ;;
  test)
    inside test "running scripts/test.sh in the fresh root..." "CI=true scripts/test.sh"
    tail -n 3 "$log_dir/fresh-test.log"
    ;;
esac
grep '^fresh-' "$log_dir/times.tsv" >"$log_dir/fresh-times.tsv" 2>/dev/null || true
echo "the fresh root passed: $kind"
