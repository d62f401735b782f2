#!/usr/bin/env bash
# Builds the Debian package from a build directory and checks it: the files it
# installs, its control fields, and that the game unpacked from it starts from
# another directory through its launcher, finds its data and quits on Escape.
# The start is skipped when Xvfb or xdotool is missing or Xvfb cannot start.
#   packaging/check_package.sh BUILD_DIR
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  exit 1
fi
debs=("$work"/out/kuzari_*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: cpack made no kuzari_*.deb" >&2; exit 1; }
deb="${debs[0]}"
echo "built $(basename "$deb")"

# The files: the launcher, the program, every data file, the desktop entry,
# the icons and the manual page.
dpkg-deb -c "$deb" | awk '{ print $1, $6 }' | sed 's# \./# /#' >"$work/contents"
has() {  # has MODE_PATTERN PATH
  grep -qE "^$1 $2\$" "$work/contents" || fail "the package lacks $2 (or its mode is wrong)"
}
has '-rwxr-xr-x' /usr/bin/kuzari
has '-rwxr-xr-x' /usr/libexec/kuzari/kuzari
has '-rwxr-xr-x' /usr/bin/kuzari-replay
has '-rwxr-xr-x' /usr/libexec/kuzari/kuzari-replay
while read -r file; do
  has '-rw-r--r--' "/usr/share/kuzari/$file"
done < <(cd "$source_dir/data" && find bitmap wave voice midi lang -type f | sort)
has '-rw-r--r--' /usr/share/applications/kuzari.desktop
has '-rw-r--r--' /usr/share/metainfo/io.github.kuzari.Kuzari.metainfo.xml
for size in 32 48 64 128 256; do
  has '-rw-r--r--' "/usr/share/icons/hicolor/${size}x${size}/apps/kuzari.png"
done
has '-rw-r--r--' /usr/share/icons/hicolor/scalable/apps/kuzari.svg
has '-rw-r--r--' /usr/share/man/man6/kuzari.6.gz
has '-rw-r--r--' /usr/share/man/man1/kuzari-replay.1.gz

# The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kuzari ] || fail "Package is '$(field Package)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends="$(field Depends)"
echo "Depends: $depends"
for library in 'libsdl2-2\.0-0' 'libsdl2-mixer-2\.0-0' libfluidsynth3 libinih1 'libpng16-16' libc6 'libstdc\+\+6'; do
  grep -qE "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library"
done
grep -qE "(^|, )timgm6mb-soundfont \| [^,]*sf3-soundfont-gm" <<<"$depends" || fail "Depends lacks the soundfont"
[ "$(field Recommends)" = zenity ] || fail "Recommends is '$(field Recommends)', not zenity"
if grep -qE -- '-dev( |,|$)|libasan|libubsan' <<<"$depends"; then
  fail "Depends names a package the game does not need"
fi

# Unpacked into a scratch root, as dpkg would lay it out.
root="$work/root"
dpkg -x "$deb" "$root"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.kuzari.Kuzari.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "the AppStream metainfo is not valid"; }
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/kuzari.desktop" || fail "the desktop entry is not valid"
fi
for size in 32 48 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/kuzari.png"
  # The PNG header: width and height as big-endian words, then depth and type.
  read -r -a header < <(od -An -tu1 -j16 -N10 "$icon")
  width=$(( (header[0] << 24) | (header[1] << 16) | (header[2] << 8) | header[3] ))
  height=$(( (header[4] << 24) | (header[5] << 16) | (header[6] << 8) | header[7] ))
  [ "$width" = "$size" ] && [ "$height" = "$size" ] && [ "${header[9]}" = 6 ] ||
    fail "icon ${size}x${size} is ${width}x${height}, colour type ${header[9]}"
done
gzip -dc "$root/usr/share/man/man6/kuzari.6.gz" | grep -q '^\.TH KUZARI 6' || fail "the manual page has no title line"
gzip -dc "$root/usr/share/man/man1/kuzari-replay.1.gz" | grep -q '^\.TH KUZARI-REPLAY 1' ||
  fail "kuzari-replay's manual page has no title line"
# kuzari-replay, started by its launcher from elsewhere, finds the data and
# plays a short script.
printf '# seed 1\n# lang ja\n30\n' | (cd "$work" && "$root/usr/bin/kuzari-replay" --trace - -) | tail -n 1 |
  grep -q '^{"frame":30,' || fail "the packaged kuzari-replay did not play a script"

# The game itself, started by its launcher from elsewhere, on a virtual screen
# with no sound card.
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "Xvfb or xdotool missing: the game is not started"
else
  # Xvfb picks a free display and writes its number to file descriptor 3.
  Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  display=""
  for _ in $(seq 100); do
    display="$(sed -n 1p "$work/display")"
    [ -n "$display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$display" ]; then
    echo "Xvfb could not start: the game is not started"
  else
    export DISPLAY=":$display"
    mkdir -p "$work/elsewhere"
    cd "$work/elsewhere"
    SDL_AUDIODRIVER=dummy timeout 30 "$root/usr/bin/kuzari" 2>"$work/game.err" &
    game_pid=$!
    # Wait for the window, then press Escape.
    for _ in $(seq 100); do
      xdotool search --name Kuzari >/dev/null 2>&1 && break
      sleep 0.1
    done
    sleep 2
    xdotool key Escape
    status=0
    wait "$game_pid" || status=$?
    cat "$work/game.err" >&2
    [ "$status" = 0 ] || fail "the game ended with status $status"
    if grep -q 'ファイルが見つかりませーん' "$work/game.err"; then
      fail "the game did not find its data"
    fi
  fi
fi

[ "$failures" = 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "the package is complete and its game starts"
