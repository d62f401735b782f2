#!/bin/sh
# The layers of ARCHITECTURE.md, checked on the includes: game code names no
# host, the game's parts do not reach up into the loop, only the desktop
# host names SDL and the other desktop libraries, the product leans on no
# tool, and the tools and the in-process tests on no desktop host.
root=${1:?usage: check_layers.sh SOURCE-TREE}
status=0

# forbid WHAT PATHS... -- PATTERN: any include matching PATTERN under PATHS
# (relative to the tree) fails.
forbid() {
  what=$1
  shift
  paths=
  while [ "$1" != -- ]; do paths="$paths $root/$1"; shift; done
  shift
  found=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($1)" $paths)
  if [ -n "$found" ]; then
    echo "$what:"
    echo "$found"
    status=1
  fi
}

game="src/core src/shell src/scenes src/gameplay src/graphics src/audio"
forbid "game code includes a host" $game -- 'hosts/'
forbid "a game part includes the loop" src/core src/scenes src/gameplay src/graphics src/audio -- 'shell/'
forbid "the bottom includes the game" src/core src/platform -- '(scenes|gameplay|graphics|audio)/'
forbid "SDL or a desktop library outside the desktop host" \
  $game src/platform src/hosts/shared src/hosts/headless src/hosts/web -- 'SDL|fluidsynth|X11/|ini\.h'
forbid "the product includes a tool" src -- '(tools|common)/|png_file\.h'
forbid "a tool or an in-process test includes the desktop host" tools tests/support $(cd "$root" && ls tests/*.cpp) -- \
  'hosts/desktop/|SDL'
exit $status
