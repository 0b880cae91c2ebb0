# Sourced by the scripts that run Windows programs: a private Wine prefix in the build folder,
# a Japanese ANSI code page (932) as on a Japanese Windows, and an X display (a private Xvfb
# when none is given, or when KAMERIN_PRIVATE_DISPLAY=1).

root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX="$root/build/wine-prefix"
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

kamerin_xvfb_pid=
start_private_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 +bs -nolisten tcp >/dev/null 2>&1 &
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

stop_private_display() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$kamerin_compositor_pid" ] && kill "$kamerin_compositor_pid" 2>/dev/null || true
  [ -n "$kamerin_xvfb_pid" ] && kill "$kamerin_xvfb_pid" 2>/dev/null || true
}

prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  # Without a window manager Wine waits about two seconds for each hide to be acknowledged;
  # unmanaged windows hide at once.
  if ! grep -q 'X11 Driver' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  # The UI font "ＭＳ Ｐゴシック" is shown with IPAPGothic, its metric-compatible stand-in.
  if ! grep -q 'Fonts\\\\Replacements' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS PGothic' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
}
