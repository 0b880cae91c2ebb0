#pragma once
// The program's rectangles and the Win32 RECT: the one place they are converted.

#include <windows.h>

#include "framework/geometry.h"

namespace kmrn {

inline ScreenRect FromRECT(const RECT& r) noexcept { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const ScreenRect& r) noexcept { return RECT{r.left, r.top, r.right, r.bottom}; }

inline RECT ToRECT(const PixelRect& r) noexcept {
  return RECT{r.x, r.y, SaturateToInt32(std::int64_t{r.x} + r.width), SaturateToInt32(std::int64_t{r.y} + r.height)};
}

inline PixelSize SizeOf(const RECT& r) noexcept { return {r.right - r.left, r.bottom - r.top}; }

}  // namespace kmrn
