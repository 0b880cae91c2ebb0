#pragma once
// Rectangles and sizes in pixels, shared by the capture, the viewers and the main window.
// All values are signed 32-bit: screen coordinates of the virtual desktop may be negative left
// of or above the primary screen.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kmrn {

// A window's or a screen's top-left corner.
struct Position {
  std::int32_t left = 0, top = 0;
  friend bool operator==(const Position&, const Position&) = default;
};

// Left, top, right, bottom, with right and bottom exclusive.
struct ScreenRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Left, top, width, height: the form in which the screen copy and the viewers take a rectangle.
struct PixelRect {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelSize {
  std::int32_t width = 0, height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

inline bool IsEmpty(const ScreenRect& r) { return r.left >= r.right || r.top >= r.bottom; }

// Values from the settings file are not range-checked, so sums of them are taken in 64 bits and
// brought back into range rather than left to overflow.
inline std::int32_t SaturateToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

}  // namespace kmrn
