#!/usr/bin/env bash
# Builds the web edition into build-web/site: installs what is missing (Debian
# packages, through sudo when not root), compiles the game to WebAssembly,
# records the music with FluidSynth and assembles the page, the data and the
# music. One line a stage; each stage's output goes to log/.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
out=build-web

scripts/setup.sh web
run_stage web-configure "configuring the WebAssembly build..." \
  cmake -S src/hosts/web -B "$out/wasm" -DCMAKE_TOOLCHAIN_FILE="$PWD/src/hosts/web/wasm32-wasi.cmake"
run_stage web-build "compiling the game to WebAssembly..." cmake --build "$out/wasm" -j"$(nproc)"
run_stage web-music-tool-configure "configuring the music recorder and the icons' tool..." cmake -S tools/web -B "$out/tools"
run_stage web-music-tool "building the music recorder and the icons' tool..." cmake --build "$out/tools" -j"$(nproc)"
run_stage web-site "recording the music and assembling the site..." \
  /usr/bin/python3 tools/web/make_site.py --wasm "$out/wasm/kuzari.wasm" \
    --render-music "$out/tools/render_music" --icongen "$out/tools/kuzari-icongen" --cache "$out/music-cache" --out "$out/site" --figures "$out/figures.md"
tail -n 1 "$log_dir/web-site.log" | sed 's/^/  /'
[ -n "${KUZARI_IN_TEST_RUN:-}" ] ||
  echo "done: serve it with  python3 -m http.server -d $out/site  and open http://localhost:8000/"
