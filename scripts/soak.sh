#!/usr/bin/env bash
# Works Kamerin under Wine on a private virtual display through a long day of use (500 captures,
# or as many as the first argument says) and prints what it holds after every 50: GDI objects,
# USER objects, handles and private bytes, then how far each moved after the first 50.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/wine-env.sh
cmake --preset "$kamerin_preset" >/dev/null
cmake --build --preset "$kamerin_preset" --target kamerin_soak >/dev/null

start_private_display
trap stop_private_display EXIT
start_compositor
prepare_wine_prefix
(cd "$kamerin_build/bench" && run_wine kamerin_soak.exe "${1:-500}")
