#!/usr/bin/env bash
# The range request up to the overlay on three 1920x1080 monitors side by side: the capture
# benchmark's "monitors" part, on an X server with the dummy driver (as the tests on several
# monitors use). Run from the repository root after building the benchmarks; KAMERIN_WINE_ARCH=32
# or 64 chooses the build as for the other scripts.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/wine-env.sh >/dev/null
start_monitor_display
start_compositor >/dev/null 2>&1
prepare_wine_prefix
trap stop_private_display EXIT
set_monitor_layout 1920x1080@0,0 1920x1080@-1920,0 1920x1080@1920,0
cd "$kamerin_build/bench"
"$WINELOADER" capture_bench.exe monitors 2>&1 | grep -E "^(#|figure|ratio)"
