# Sourced by the scripts that run Windows programs. It chooses the Windows build and the Wine
# that runs it, gives that Wine a private prefix in the build folder with a Japanese ANSI code
# page (932) as on a Japanese Windows, and an X display (a private Xvfb when none is given).
#
# The 32-bit build runs under 32-bit Wine where the machine can run 32-bit programs. Some kernels
# run none at all (Wine's i386 loader then fails with "Exec format error"); there, and whenever
# KAMERIN_WINE_ARCH=64, the 64-bit build runs under 64-bit Wine in a prefix of its own.
# What it sets: kamerin_wine_arch (32 or 64), kamerin_preset, kamerin_build (the build folder),
# WINELOADER, WINESERVER, WINEPREFIX; run_wine and wine_server run that Wine's loader and server.

root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

wine_lib=/usr/lib/wine
can_run_32bit() { "$wine_lib/wine" --version >/dev/null 2>&1; }

case "${KAMERIN_WINE_ARCH:-}" in
  64)
    kamerin_wine_arch=64
    kamerin_wine_reason="forced by KAMERIN_WINE_ARCH=64" ;;
  32)
    if ! can_run_32bit; then
      echo "KAMERIN_WINE_ARCH=32, but this machine cannot run 32-bit Wine ($wine_lib/wine fails)" >&2
      return 1 2>/dev/null || exit 1
    fi
    kamerin_wine_arch=32
    kamerin_wine_reason="forced by KAMERIN_WINE_ARCH=32" ;;
  "")
    if can_run_32bit; then
      kamerin_wine_arch=32
      kamerin_wine_reason="this machine runs 32-bit programs"
    else
      kamerin_wine_arch=64
      kamerin_wine_reason="this machine runs no 32-bit programs"
    fi ;;
  *)
    echo "KAMERIN_WINE_ARCH must be 32, 64 or unset, not '$KAMERIN_WINE_ARCH'" >&2
    return 1 2>/dev/null || exit 1 ;;
esac

if [ "$kamerin_wine_arch" = 64 ]; then
  kamerin_preset=windows64
  export WINELOADER="$wine_lib/wine64"
  export WINESERVER="$wine_lib/wineserver64"
  export WINEPREFIX="$root/build/wine-prefix64"
else
  kamerin_preset=windows
  export WINELOADER="$wine_lib/wine"
  export WINESERVER="$wine_lib/wineserver32"
  [ -x "$WINESERVER" ] || WINESERVER="$wine_lib/wineserver64"
  export WINEPREFIX="$root/build/wine-prefix"
fi
kamerin_build="$root/build/$kamerin_preset"
echo "wine: the ${kamerin_wine_arch}-bit build ($kamerin_preset) under ${kamerin_wine_arch}-bit Wine: $kamerin_wine_reason"

run_wine() { "$WINELOADER" "$@"; }
wine_server() { "$WINESERVER" "$@"; }

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Wine takes its ANSI code page from the locale.
locale_dir="$root/build/locale"
if [ ! -d "$locale_dir/ja_JP.UTF-8" ]; then
  mkdir -p "$locale_dir"
  localedef -i ja_JP -f UTF-8 "$locale_dir/ja_JP.UTF-8" >/dev/null 2>&1 || true
fi
if [ -d "$locale_dir/ja_JP.UTF-8" ]; then
  export LOCPATH="$locale_dir"
  export LC_ALL=ja_JP.UTF-8 2>/dev/null
fi

# start_private_display [WIDTHxHEIGHT]: a screen of 1920x1080 unless another size is given.
kamerin_xvfb_pid=
start_private_display() {
  local n size=${1:-1920x1080}
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" +bs -nolisten tcp >/dev/null 2>&1 &
    kamerin_xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$kamerin_xvfb_pid" 2>/dev/null
  done
  echo "cannot start Xvfb" >&2
  return 1
}

# Xvfb gives Wine one monitor. Xorg with the dummy video driver gives it real ones, placed by
# RandR: start_monitor_display starts one with outputs DUMMY0 to DUMMY3 (no layout yet), and
# set_monitor_layout places the monitors. stop_private_display ends it like the Xvfb one.
start_monitor_display() {
  local config="$root/build/xorg-monitors.conf" displayfile="$root/build/xorg-monitors.display" n
  cat >"$config" <<'CONF'
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
  Modeline "1280x1024" 109.00 1280 1368 1496 1712 1024 1027 1034 1063 -hsync +vsync
  Modeline "1600x900" 118.25 1600 1696 1856 2112 900 903 908 934 -hsync +vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1920x1080"
    Virtual 5760 3200
  EndSubSection
EndSection
CONF
  rm -f "$displayfile"
  Xorg -displayfd 9 -config "$config" -noreset -nolisten tcp -logfile "$root/build/xorg-monitors.log" \
    9>"$displayfile" >/dev/null 2>&1 &
  kamerin_xvfb_pid=$!
  for _ in $(seq 100); do
    n=$(tr -dc 0-9 <"$displayfile" 2>/dev/null)
    if [ -n "$n" ] && xrandr -display ":$n" >/dev/null 2>&1; then
      export DISPLAY=":$n"
      for n in 1 2 3; do
        for mode in 1920x1080 1280x1024 1600x900; do xrandr --addmode "DUMMY$n" "$mode" >/dev/null 2>&1; done
      done
      return 0
    fi
    sleep 0.1
  done
  echo "cannot start Xorg with the dummy driver (log: $root/build/xorg-monitors.log)" >&2
  kill "$kamerin_xvfb_pid" 2>/dev/null
  kamerin_xvfb_pid=
  return 1
}

# set_monitor_layout WxH@X,Y ...: the monitors in Windows' screen coordinates, the primary first
# at 0,0 (others may lie at negative coordinates). Wine's processes are ended, so that the next
# program sees the new layout from its start.
set_monitor_layout() {
  local minx=0 miny=0 maxx=0 maxy=0 spec w h x y i args=()
  for spec in "$@"; do
    IFS='x@,' read -r w h x y <<<"$spec"
    ((x < minx)) && minx=$x; ((y < miny)) && miny=$y
    ((x + w > maxx)) && maxx=$((x + w)); ((y + h > maxy)) && maxy=$((y + h))
  done
  i=0
  for spec in "$@"; do
    IFS='x@,' read -r w h x y <<<"$spec"
    args+=(--output "DUMMY$i" --mode "${w}x$h" --pos "$((x - minx))x$((y - miny))")
    ((i == 0)) && args+=(--primary)
    i=$((i + 1))
  done
  for ((; i < 4; i++)); do args+=(--output "DUMMY$i" --off); done
  wine_server -k >/dev/null 2>&1 || true
  wine_server -w >/dev/null 2>&1 || true
  for _ in 1 2 3 4 5; do
    # Outputs go off first, so that the smaller frame buffer holds what stays on.
    xrandr $(for ((i = 1; i < 4; i++)); do echo --output "DUMMY$i" --off; done) >/dev/null 2>&1
    xrandr --fb "$((maxx - minx))x$((maxy - miny))" "${args[@]}" >/dev/null 2>&1
    if xrandr --listmonitors 2>/dev/null | grep -qx "Monitors: $#"; then return 0; fi
    sleep 0.5
  done
  echo "cannot place the monitors $*" >&2
  return 1
}

# Xvfb has no compositor: a hidden window's pixels would stay on the screen until the windows
# beneath repaint. A tiny X client keeps the display composited, as a Windows desktop is.
kamerin_compositor_pid=
start_compositor() {
  local binary="$root/build/compositor"
  if [ ! -x "$binary" ] || [ "$root/tests/e2e/x11/compositor.c" -nt "$binary" ]; then
    gcc -O2 -Wall -Wextra -o "$binary" "$root/tests/e2e/x11/compositor.c" -lX11 -lXcomposite
  fi
  "$binary" &
  kamerin_compositor_pid=$!
  sleep 0.3
}

# Ends the Wine processes, the compositor and the display; another display may be started after.
stop_private_display() {
  wine_server -k >/dev/null 2>&1 || true
  wine_server -w >/dev/null 2>&1 || true
  [ -n "$kamerin_compositor_pid" ] && kill "$kamerin_compositor_pid" 2>/dev/null || true
  [ -n "$kamerin_xvfb_pid" ] && kill "$kamerin_xvfb_pid" 2>/dev/null || true
  kamerin_compositor_pid=
  kamerin_xvfb_pid=
}

prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX"
    run_wine wineboot -i >/dev/null 2>&1 || true
    wine_server -w >/dev/null 2>&1 || true
  fi
  # Without a window manager Wine waits about two seconds for each hide to be acknowledged;
  # unmanaged windows hide at once.
  if ! grep -q 'X11 Driver' "$WINEPREFIX/user.reg" 2>/dev/null; then
    run_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    wine_server -w >/dev/null 2>&1 || true
  fi
  # The UI font "ＭＳ Ｐゴシック" is shown with IPAPGothic, its metric-compatible stand-in.
  if ! grep -q 'Fonts\\\\Replacements' "$WINEPREFIX/user.reg" 2>/dev/null; then
    run_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1 || true
    run_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS PGothic' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1 || true
    wine_server -w >/dev/null 2>&1 || true
  fi
  # Unscaled, also after a run that was stopped while it tried another DPI.
  if grep -q '"LogPixels"' "$WINEPREFIX/user.reg" 2>/dev/null; then set_wine_dpi 96; fi
}

# Wine's DPI (the prefix's LogPixels): 96 unscaled, 144 for 150 %. The Wine processes are ended so
# that every program started afterwards, the desktop included, has it.
set_wine_dpi() {
  if [ "$1" = 96 ]; then
    run_wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  else
    run_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || true
  fi
  wine_server -k >/dev/null 2>&1 || true
  wine_server -w >/dev/null 2>&1 || true
}

# A Unix path as the Windows programs under Wine see it.
windows_path() { run_wine winepath -w "$1" 2>/dev/null; }
