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
