#include "framework/win/dpi.h"

#include "framework/win/gdi.h"
#include "framework/win/geometry_win.h"

namespace kmrn {
namespace {

// Looked up at run time: these calls exist only on Windows 10 and later.
template <typename Function>
Function User32Function(const char* name) noexcept {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

int DpiOf(HWND window) noexcept {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  WindowDC screen(nullptr);
  const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return dpi > 0 ? dpi : DesignDpi;
}

int DpiAt(POINT point) noexcept { return DpiOfMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)); }

int DpiOfMonitor(HMONITOR monitor) noexcept {
  // shcore exists from Windows 8.1 on; it is loaded once, and kept.
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpiForMonitor = [] {
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    return shcore ? reinterpret_cast<GetDpiForMonitorFunction>(
                        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  constexpr int EffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  UINT dpiX = 0, dpiY = 0;
  if (getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, EffectiveDpi, &dpiX, &dpiY)) && dpiY > 0) {
    return static_cast<int>(dpiY);
  }
  return DpiOf(nullptr);
}

namespace {

int SystemMetricAtDpi(int metric, int dpi) noexcept {
  using MetricsForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto metricsForDpi = User32Function<MetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (metricsForDpi) {
    if (int size = metricsForDpi(metric, static_cast<UINT>(dpi)); size > 0) return size;
  }
  // Older systems know one DPI for the whole session, and give the size for it.
  return GetSystemMetrics(metric);
}

}  // namespace

int PointerSize(int dpi) noexcept { return SystemMetricAtDpi(SM_CXCURSOR, dpi); }

int SmallIconSize(int dpi) noexcept { return SystemMetricAtDpi(SM_CXSMICON, dpi); }

PixelSize OuterSizeForClient(PixelSize client, DWORD style, DWORD exStyle, int dpi) noexcept {
  using AdjustForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.width, client.height};
  if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return SizeOf(rect);
}

}  // namespace kmrn
