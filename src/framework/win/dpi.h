#pragma once
// The DPI a window is laid out for, and the system's sizes at a DPI. The program is per-monitor
// DPI aware, so that it captures real screen pixels; its layouts scale as dpi_scale.h says.

#include <windows.h>

#include "framework/dpi_scale.h"
#include "framework/geometry.h"

namespace kmrn {

// The DPI of the monitor a window is on (96 where the system cannot tell).
int DpiOf(HWND window) noexcept;

inline RECT ScaleForDpi(RECT design, int dpi) noexcept {
  return RECT{ScaleForDpi(design.left, dpi), ScaleForDpi(design.top, dpi), ScaleForDpi(design.right, dpi),
              ScaleForDpi(design.bottom, dpi)};
}

// The side of a small icon (the notification area's, a caption's) at this DPI.
int SmallIconSize(int dpi) noexcept;

// The DPI of the monitor that shows the screen point (the screen's DPI where the system knows
// only one).
int DpiAt(POINT point) noexcept;
// The same for a monitor.
int DpiOfMonitor(HMONITOR monitor) noexcept;

// The side of the mouse pointer as the system shows it at this DPI.
int PointerSize(int dpi) noexcept;

// The outer size of a window with this style whose client area has the given size.
PixelSize OuterSizeForClient(PixelSize client, DWORD style, DWORD exStyle, int dpi) noexcept;

}  // namespace kmrn
