#pragma once
// Rectangles and sizes in pixels, shared by the capture, the viewers and the main window.
// All values are signed 32-bit: screen coordinates of the virtual desktop may be negative left
// of or above the primary screen.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kmrn {

// Values from the settings file are not range-checked, so sums of them are taken in 64 bits and
// brought back into range rather than left to overflow.
constexpr std::int32_t SaturateToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// A window's or a screen's top-left corner.
struct Position {
  std::int32_t left = 0, top = 0;
  friend bool operator==(const Position&, const Position&) = default;
};

struct PixelSize {
  std::int32_t width = 0, height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// Left, top, right, bottom, with right and bottom exclusive. A rectangle made from hand-edited
// settings may be wider than 32 bits can say; its width and height then saturate.
struct ScreenRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;

  constexpr std::int32_t Width() const { return SaturateToInt32(std::int64_t{right} - left); }
  constexpr std::int32_t Height() const { return SaturateToInt32(std::int64_t{bottom} - top); }
  constexpr PixelSize Size() const { return {Width(), Height()}; }
  constexpr Position TopLeft() const { return {left, top}; }

  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Left, top, width, height: the form in which the screen copy and the viewers take a rectangle.
struct PixelRect {
  std::int32_t x = 0, y = 0, width = 0, height = 0;

  constexpr PixelSize Size() const { return {width, height}; }

  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

constexpr bool IsEmpty(const ScreenRect& r) { return r.left >= r.right || r.top >= r.bottom; }

constexpr PixelRect ToPixelRect(const ScreenRect& r) { return {r.left, r.top, r.Width(), r.Height()}; }

// The right and bottom edges saturate where the sums would leave 32 bits.
constexpr ScreenRect ToScreenRect(const PixelRect& r) {
  return {r.x, r.y, SaturateToInt32(std::int64_t{r.x} + r.width), SaturateToInt32(std::int64_t{r.y} + r.height)};
}

// The two ways the program centres a size in an area. They differ by a pixel, and only when
// exactly one of the two lengths is odd; each window keeps its own, so that it lands where it did.
enum class Centring {
  // The area's middle less half the size, each halved on its own: the viewers.
  MiddleLessHalf,
  // Half of the room the size leaves in the area (negative when the size is larger): the dialogs
  // and a viewer's zoom step.
  HalfTheRoom,
};

namespace geometry_detail {

// Halves truncate toward zero; the sums are taken in 64 bits, as the sizes may come from
// hand-edited settings.
constexpr std::int32_t CentredStart(std::int64_t start, std::int64_t length, std::int64_t size, Centring how) {
  return SaturateToInt32(how == Centring::MiddleLessHalf ? start + length / 2 - size / 2 : start + (length - size) / 2);
}

}  // namespace geometry_detail

// The top-left corner at which a rectangle of the given size lies centred in the area.
constexpr Position CentredIn(PixelSize size, const ScreenRect& area, Centring how) {
  return {geometry_detail::CentredStart(area.left, std::int64_t{area.right} - area.left, size.width, how),
          geometry_detail::CentredStart(area.top, std::int64_t{area.bottom} - area.top, size.height, how)};
}
constexpr Position CentredIn(PixelSize size, const PixelRect& area, Centring how) {
  return {geometry_detail::CentredStart(area.x, area.width, size.width, how),
          geometry_detail::CentredStart(area.y, area.height, size.height, how)};
}

}  // namespace kmrn
