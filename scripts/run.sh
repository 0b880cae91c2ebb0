#!/usr/bin/env bash
# Builds Kamerin.exe (the 32-bit or 64-bit build, as the machine's Wine can run it) and starts it
# under Wine: on $DISPLAY when there is one, otherwise on a
# private virtual display (Xvfb). Arguments are handed to Kamerin (a picture file to open).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/wine-env.sh
cmake --preset "$kamerin_preset" >/dev/null
cmake --build --preset "$kamerin_preset" --target Kamerin

if [ -z "${DISPLAY:-}" ]; then
  start_private_display
  trap stop_private_display EXIT
  echo "No display given: Kamerin runs on the private virtual display $DISPLAY (Xvfb)."
  echo "Take a look with: DISPLAY=$DISPLAY import -window root shot.png"
fi
prepare_wine_prefix
echo "Starting $kamerin_build/Kamerin.exe (settings: build/$kamerin_preset/Kamerin.ini; captures go to build/$kamerin_preset unless the settings say otherwise)"
run_wine "$kamerin_build/Kamerin.exe" "$@"
