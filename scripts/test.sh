#!/usr/bin/env bash
# Builds everything and runs every test: the unit tests on the host (plain and with
# AddressSanitizer/UBSan), the same unit tests built for Windows under Wine, and the end-to-end
# tests that drive the real Kamerin.exe under Wine on a private virtual display (once more, in
# part, at 144 DPI), the big-desktop test on a display of 11520 x 2160, and the tests on several
# monitors on an X server with the dummy driver, in two layouts. Both Windows
# builds (32- and 64-bit) are made, and the release archive from them is checked; the Windows
# tests run on the one the machine can run, or on the 64-bit one with KAMERIN_WINE_ARCH=64.
# Ends with one line "total: N passed, M failed"; exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

started=$(date +%s)
bash scripts/setup.sh || { echo "setup failed"; exit 1; }
source scripts/wine-env.sh || exit 1

passed=0
failed=0
logs="$root/build/test-logs"
mkdir -p "$logs"

# Runs one GoogleTest program and adds its counts; a program that dies counts as one failure.
run_suite() {
  local name=$1
  shift
  echo "=== $name"
  timeout 1200 "$@" >"$logs/$name.log" 2>&1
  local status=$?
  local ok bad
  ok=$(grep -aoE '^\[  PASSED  \] [0-9]+' "$logs/$name.log" | grep -oE '[0-9]+$' | tail -n 1)
  bad=$(grep -aoE '^\[  FAILED  \] [0-9]+ tests?, listed below' "$logs/$name.log" | grep -oE '^\[  FAILED  \] [0-9]+' | grep -oE '[0-9]+$' | tail -n 1)
  ok=${ok:-0}
  bad=${bad:-0}
  if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then bad=1; fi
  grep -aE '^\[  FAILED  \]|: Failure$|ERROR|runtime error' "$logs/$name.log" | head -n 40
  echo "$name: $ok passed, $bad failed (exit $status, log $logs/$name.log)"
  passed=$((passed + ok))
  failed=$((failed + bad))
}

# Runs end-to-end tests (a program and its gtest arguments). They work a real desktop with
# synthetic input, which Wine now and then drops: a test that failed is run once more on its own;
# both runs are in the logs, and the retried tests are named here.
run_e2e() {
  local name=$1 exe=$2
  shift 2
  rm -f "$logs/$name-retry.log"  # a retry log is this run's or none
  run_suite "$name" "$WINELOADER" "$exe" "$@"
  local flaky count
  flaky=$(grep -aE '^\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+ \(' "$logs/$name.log" |
          sed -E 's/^\[  FAILED  \] ([^ ]+) .*/\1/' | sort -u)
  if [ -n "$flaky" ]; then
    count=$(echo "$flaky" | wc -l)
    echo "$name: running $count failed test(s) once more: $(echo "$flaky" | paste -sd' ' -)"
    failed=$((failed - count))
    run_suite "$name-retry" "$WINELOADER" "$exe" --gtest_filter="$(echo "$flaky" | paste -sd: -)"
  fi
}

build() {
  local preset=$1
  echo "=== build $preset"
  if ! { cmake --preset "$preset" >"$logs/configure-$preset.log" 2>&1 &&
         cmake --build --preset "$preset" >"$logs/build-$preset.log" 2>&1; }; then
    tail -n 40 "$logs/configure-$preset.log" "$logs/build-$preset.log"
    echo "build $preset: failed"
    failed=$((failed + 1))
    return 1
  fi
}

if build host; then run_suite host-unit build/host/tests/kamerin_unit_tests; fi
if build host-asan; then
  ASAN_OPTIONS=detect_leaks=1 run_suite host-asan-unit build/host-asan/tests/kamerin_unit_tests
fi

# Both Windows builds are made every time, so that neither rots; the tests run on the one this
# machine's Wine can run (wine-env.sh says which).
windows_built=0
build windows && [ "$kamerin_preset" = windows ] && windows_built=1
build windows64 && [ "$kamerin_preset" = windows64 ] && windows_built=1
# The archive a Windows user downloads, made twice from the two builds and looked into.
run_suite release bash tests/release/check_release.sh

if [ "$windows_built" = 1 ]; then
  start_private_display
  trap stop_private_display EXIT
  start_compositor
  prepare_wine_prefix
  KAMERIN_TESTDATA=$(windows_path "$root/../shared/testdata") \
    run_suite windows-unit "$WINELOADER" "$kamerin_build/tests/kamerin_unit_tests.exe"
  pushd "$kamerin_build/tests" >/dev/null
  run_e2e windows-e2e kamerin_e2e.exe
  # At 144 DPI (150 %), the tests where the DPI matters: the layouts of the main window and the
  # settings dialog, which scale; the captures, the overlay and the viewer's picture, zoom and
  # magnet, which stay in screen pixels.
  dpi_tests='MainWindow*:Startup.MainWindowHasItsIdentityAndNoTaskbarButton'
  dpi_tests+=':SettingsDialog.ShowsTheSettingsTakesOnlyWhatEachEditAllowsAndStoresOnOk:Capture*'
  dpi_tests+=':Viewer.AnOpenedPictureIsCentredInItsFrameAndShownExactly:Viewer.TheWheelZoomsInStepsFromThePictureAsCreated'
  dpi_tests+=':Viewer.ADraggedViewerSnapsToTheScreenEdgeAndToAnotherViewer'
  set_wine_dpi 144
  run_e2e windows-e2e-144dpi kamerin_e2e.exe --gtest_filter="$dpi_tests"
  set_wine_dpi 96
  # The largest desktop the program is made for, three 4K screens side by side, on a display of
  # its own.
  stop_private_display
  start_private_display 11520x2160
  start_compositor
  run_e2e windows-e2e-big kamerin_e2e_big.exe
  # Several monitors, on an X server with one output per monitor: four around the primary (left,
  # above, below), then three in a row of different heights.
  stop_private_display
  monitor_suite() {
    local name=$1 filter=$2
    shift 2
    if set_monitor_layout "$@"; then
      run_e2e "$name" kamerin_e2e_monitors.exe --gtest_filter="$filter"
    else
      echo "$name: the monitors could not be placed"
      failed=$((failed + 1))
    fi
  }
  if start_monitor_display && start_compositor; then
    monitor_suite windows-e2e-monitors-around 'AroundLayout.*' \
      1920x1080@0,0 1280x1024@-1280,0 1280x1024@320,-1024 1600x900@160,1080
    monitor_suite windows-e2e-monitors-row 'RowLayout.*' 1920x1080@0,0 1280x1024@-1280,0 1600x900@1920,0
  else
    echo "windows-e2e-monitors: no display of several monitors"
    failed=$((failed + 1))
  fi
  popd >/dev/null
fi

echo "took $(( $(date +%s) - started )) s, Windows tests on the $kamerin_wine_arch-bit build"
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
