#!/usr/bin/env bash
# The magnifier's pointer move on a 3840x2160 screen: the capture benchmark's "magnifier" part
# alone, on a private display of that size. Run from the repository root after building the
# benchmarks; KAMERIN_WINE_ARCH=32 or 64 chooses the build as for the other scripts.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/wine-env.sh >/dev/null
start_private_display 3840x2160 >/dev/null
start_compositor >/dev/null 2>&1
prepare_wine_prefix
trap stop_private_display EXIT
cd "$kamerin_build/bench"
"$WINELOADER" capture_bench.exe magnifier 2>&1 | grep -E "^(#|figure|ratio)"
