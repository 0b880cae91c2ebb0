#!/usr/bin/env bash
# Builds Kamerin.exe and starts it under Wine: on $DISPLAY when there is one, otherwise on a
# private virtual display (Xvfb). Arguments are handed to Kamerin (a picture file to open).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Kamerin

source scripts/wine-env.sh
if [ -z "${DISPLAY:-}" ]; then
  start_private_display
  trap stop_private_display EXIT
  echo "No display given: Kamerin runs on the private virtual display $DISPLAY (Xvfb)."
  echo "Take a look with: DISPLAY=$DISPLAY import -window root shot.png"
fi
prepare_wine_prefix
echo "Starting $root/build/windows/Kamerin.exe (settings: build/windows/Kamerin.ini; captures go to build/windows unless the settings say otherwise)"
wine build/windows/Kamerin.exe "$@"
