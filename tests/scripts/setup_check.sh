#!/usr/bin/env bash
# scripts/setup.sh's check names the package of each command a kind's build
# calls and that is not there: a PATH holding everything the web build calls
# but llvm-ar-14 fails, naming llvm-14; with it there too the check passes.
#   setup_check.sh REPOSITORY
set -uo pipefail
repo=$1
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
for tool in bash dirname cat grep sort printf mkdir tail sed dpkg-query clang-14 clang++-14 wasm-ld-14 \
    llvm-ranlib-14 wasm-opt oggenc g++ python3 esbuild; do
  found=$(command -v "$tool") || { echo "SKIP: no $tool here"; exit 77; }
  ln -s "$found" "$bin/$tool"
done
failures=0
said=$(PATH=$bin "$bin/bash" "$repo/scripts/setup.sh" --check web 2>&1) &&
  { echo "FAIL the check passed without llvm-ar-14"; failures=1; }
grep -q 'llvm-ar-14 (package llvm-14)' <<<"$said" || { echo "FAIL the check said: $said"; failures=1; }
ln -s "$(command -v llvm-ar-14)" "$bin/llvm-ar-14"
said=$(PATH=$bin "$bin/bash" "$repo/scripts/setup.sh" --check web 2>&1) ||
  { echo "FAIL the check failed with every command there: $said"; failures=1; }
[ $failures -eq 0 ] && echo "ok   setup.sh names the package of a missing command"
exit $failures
