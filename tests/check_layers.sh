#!/bin/sh
# The layers of ARCHITECTURE.md, checked on the includes: game code names no
# host, the game's parts do not reach up into the loop, and only the desktop
# host names SDL and the other desktop libraries.
src=${1:?usage: check_layers.sh SRC-DIR}
status=0

# forbid WHAT FOLDERS... -- PATTERN: any include matching PATTERN in FOLDERS fails.
forbid() {
  what=$1
  shift
  folders=
  while [ "$1" != -- ]; do folders="$folders $src/$1"; shift; done
  shift
  found=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($1)" $folders)
  if [ -n "$found" ]; then
    echo "$what:"
    echo "$found"
    status=1
  fi
}

forbid "game code includes a host" core shell scenes gameplay graphics audio -- 'hosts/'
forbid "a game part includes the loop" core scenes gameplay graphics audio -- 'shell/'
forbid "the bottom includes the game" core platform -- '(scenes|gameplay|graphics|audio)/'
forbid "SDL or a desktop library outside the desktop host" \
  core shell scenes gameplay graphics audio platform hosts/shared hosts/headless hosts/web -- \
  'SDL|fluidsynth|X11/|ini\.h'
exit $status
