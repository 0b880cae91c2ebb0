#include "framework/win/window_query.h"

#include <utility>

#include "framework/win/dpi.h"
#include "framework/win/geometry_win.h"
#include "framework/win/text_win.h"

namespace kmrn {
namespace {

BOOL CALLBACK CollectOwned(HWND window, LPARAM data) {
  auto& [owner, found] = *reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(data);
  for (HWND above = GetWindow(window, GW_OWNER); above; above = GetWindow(above, GW_OWNER)) {
    if (above == owner) {
      found.push_back(window);
      break;
    }
  }
  return TRUE;
}

}  // namespace

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

namespace {

ScreenRect WorkAreaOfMonitor(HMONITOR monitor) noexcept {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!monitor || !GetMonitorInfoW(monitor, &info)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  return FromRECT(info.rcWork);
}

}  // namespace

ScreenRect WorkAreaOf(HWND window) noexcept {
  return WorkAreaOfMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

ScreenRect WorkAreaAt(Position point) noexcept {
  return WorkAreaOfMonitor(MonitorFromPoint(POINT{point.left, point.top}, MONITOR_DEFAULTTONEAREST));
}

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<MonitorLayout*>(data)->push_back(
        {FromRECT(info.rcMonitor), FromRECT(info.rcWork), DpiOfMonitor(monitor)});
  }
  return TRUE;
}

}  // namespace

MonitorLayout DesktopMonitors() {
  MonitorLayout monitors;
  EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) {
    const ScreenRect screen = DesktopRect();
    monitors.push_back({screen, WorkAreaAt(screen.TopLeft()), DpiOf(nullptr)});
  }
  return monitors;
}

std::vector<HWND> WindowsOwnedBy(HWND owner) {
  std::pair<HWND, std::vector<HWND>> search{owner, {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectOwned, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

}  // namespace kmrn
