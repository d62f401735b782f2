#!/usr/bin/env bash
# The web edition's figures, in headless Chromium: builds the site
# (scripts/web.sh), then three times over measures the first picture after the
# page's load, the main thread's work a frame in live play, the pace and the
# music's decoding (tests/web/browser_test.py, which also checks what it
# plays against build/kuzari-replay: build the desktop edition first).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh test
scripts/web.sh
for run in 1 2 3; do
  /usr/bin/python3 tests/web/browser_test.py --only live --only music --only figures \
    --figures "build-web/figures-$run.json" | grep -E '^(figures|browser tests):'
done
