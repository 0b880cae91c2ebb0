#!/usr/bin/env bash
# Takes PNG screenshots of Kamerin under Wine on a private virtual display: the main window in
# range and window mode, the range overlay in the middle of a drag and with its magnifier, a
# viewer showing its zoom label and its context menu, the main window's menu, the box that reports
# a PrintScreen key held by another program, the three pages of the settings dialog and the folder
# browser.
# The pictures go to the folder given (default build/screenshots), which is named at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=$(mkdir -p "${1:-build/screenshots}" && cd "${1:-build/screenshots}" && pwd)

bash scripts/setup.sh
source scripts/wine-env.sh
cmake --preset "$kamerin_preset" >/dev/null
cmake --build --preset "$kamerin_preset" --target kamerin_e2e >/dev/null

start_private_display
trap stop_private_display EXIT
start_compositor
prepare_wine_prefix
(cd "$kamerin_build/tests" &&
  KAMERIN_SCREENSHOTS=$(windows_path "$out") run_wine kamerin_e2e.exe --gtest_also_run_disabled_tests \
    --gtest_filter='Screenshots.*')
echo "Screenshots in $out:"
ls -1 "$out"
