#!/bin/sh
# Install what the data generator needs (Debian packages only).
# Does nothing when everything is already present.
set -e
PKGS="python3 python3-pil python3-numpy espeak-ng fonts-misaki xfonts-base sox"
missing=""
for p in $PKGS; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
        || missing="$missing $p"
done
if [ -z "$missing" ]; then
    echo "datagen: all packages present"
    exit 0
fi
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "datagen: installing$missing"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
