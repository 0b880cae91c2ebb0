#pragma once
// The program's layouts are given in pixels at 96 DPI; on a scaled display they are scaled by the
// DPI of the monitor the window is on.

namespace kmrn {

inline constexpr int DesignDpi = 96;

// A coordinate or length at 96 DPI scaled to this DPI (above 0), rounded half away from zero as
// the system's MulDiv rounds: 1.5 pixels become 2, -1.5 become -2.
int ScaleForDpi(int designPixels, int dpi) noexcept;

}  // namespace kmrn
