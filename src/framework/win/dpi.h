#pragma once
// The program's layouts are given in pixels at 96 DPI; on a scaled display they are scaled by
// the window's DPI, so the program stays per-monitor DPI aware and captures real screen pixels.

#include <windows.h>

#include "framework/geometry.h"

namespace kmrn {

inline constexpr int DesignDpi = 96;

// The DPI of the monitor a window is on (96 where the system cannot tell).
int DpiOf(HWND window) noexcept;

inline int ScaleForDpi(int designPixels, int dpi) noexcept { return MulDiv(designPixels, dpi, DesignDpi); }

inline RECT ScaleForDpi(RECT design, int dpi) noexcept {
  return RECT{ScaleForDpi(design.left, dpi), ScaleForDpi(design.top, dpi), ScaleForDpi(design.right, dpi),
              ScaleForDpi(design.bottom, dpi)};
}

// The side of a small icon (the notification area's, a caption's) at this DPI.
int SmallIconSize(int dpi) noexcept;

// The outer size of a window with this style whose client area has the given size.
PixelSize OuterSizeForClient(PixelSize client, DWORD style, DWORD exStyle, int dpi) noexcept;

}  // namespace kmrn
