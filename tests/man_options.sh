#!/bin/sh
# The manual page's OPTIONS name every option kuzari --help lists, and no
# other: both come from the settings table, the page by hand.
#   man_options.sh KUZARI MANUAL_PAGE
set -eu
kuzari=$1
page=$2
listed=$(mktemp)
named=$(mktemp)
trap 'rm -f "$listed" "$named"' EXIT
"$kuzari" --help | sed -n 's/^  \(--[a-z][a-z-]*\).*/\1/p' | sort -u >"$listed"
sed -n '/^\.SH OPTIONS/,/^\.SH [A-Z]/p' "$page" | grep '^\.B' | sed 's/\\-/-/g' |
  grep -o -- '--[a-z][a-z-]*' | sort -u >"$named"
[ -s "$listed" ] || { echo "kuzari --help lists no options"; exit 1; }
if ! diff -u "$listed" "$named"; then
  echo "the manual page's OPTIONS (+) and kuzari --help (-) differ"
  exit 1
fi
echo "ok   the manual page names the $(wc -l <"$listed") options --help lists"
