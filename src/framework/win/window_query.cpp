#include "framework/win/window_query.h"

#include "framework/win/geometry_win.h"
#include "framework/win/text_win.h"

namespace kmrn {

std::string ClassNameOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return Narrow(name);
}

ScreenRect WindowRectOf(HWND window) noexcept {
  RECT rect{};
  GetWindowRect(window, &rect);
  return FromRECT(rect);
}

ScreenRect ClientRectOnScreen(HWND window) noexcept {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

ScreenRect DesktopRect() noexcept { return WindowRectOf(GetDesktopWindow()); }

ScreenRect WorkAreaOf(HWND window) noexcept {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
  if (!monitor || !GetMonitorInfoW(monitor, &info)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  return FromRECT(info.rcWork);
}

}  // namespace kmrn
