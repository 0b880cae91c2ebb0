#pragma once
// The program's rectangles and the Win32 RECT: the one place they are converted.

#include <windows.h>

#include "framework/geometry.h"

namespace kmrn {

inline ScreenRect FromRECT(const RECT& r) noexcept { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const ScreenRect& r) noexcept { return RECT{r.left, r.top, r.right, r.bottom}; }

inline RECT ToRECT(const PixelRect& r) noexcept { return ToRECT(ToScreenRect(r)); }

inline PixelSize SizeOf(const RECT& r) noexcept { return FromRECT(r).Size(); }

}  // namespace kmrn
