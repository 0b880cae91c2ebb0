#include "capture/magnifier_layout.h"

#include <algorithm>
#include <cstdio>

#include "framework/dpi_scale.h"

namespace kmrn {
namespace {

// The room left between the pointer and the box: the cross cursor reaches 16 pixels from its
// hot spot at 96 DPI, and the box must not hide it.
constexpr std::int32_t PointerGap = 16;

// The start of a length `size` beside `at`: after it, or before it where it would pass `end`;
// then kept within [start, end) as far as it fits.
std::int32_t BesideOnAxis(std::int32_t at, std::int32_t start, std::int32_t end, std::int32_t size) {
  std::int64_t from = std::int64_t{at} + PointerGap;
  if (from + size > end) from = std::int64_t{at} - PointerGap - size;
  from = std::min<std::int64_t>(from, std::int64_t{end} - size);
  from = std::max<std::int64_t>(from, start);
  return SaturateToInt32(from);
}

}  // namespace

MagnifierLook MagnifierLookAt(int dpi) {
  MagnifierLook look;
  look.cellSide = ScaleForDpi(8, dpi);
  look.margin = ScaleForDpi(4, dpi);
  look.lineHeight = ScaleForDpi(16, dpi);
  return look;
}

ScreenRect MagnifierBox(Position pointer, const ScreenRect& area, PixelSize size) {
  const std::int32_t left = BesideOnAxis(pointer.left, area.left, area.right, size.width);
  const std::int32_t top = BesideOnAxis(pointer.top, area.top, area.bottom, size.height);
  return {left, top, SaturateToInt32(std::int64_t{left} + size.width),
          SaturateToInt32(std::int64_t{top} + size.height)};
}

MagnifierSource MagnifierSourceOf(Position pointer, const PixelRect& copy) {
  constexpr std::int32_t half = MagnifierLook::Cells / 2;
  // The square around the pointer in the copy's coordinates, in 64 bits: the pointer may lie far
  // outside the copy.
  const std::int64_t x = std::int64_t{pointer.left} - copy.x - half;
  const std::int64_t y = std::int64_t{pointer.top} - copy.y - half;
  const std::int64_t left = std::clamp<std::int64_t>(x, 0, copy.width);
  const std::int64_t top = std::clamp<std::int64_t>(y, 0, copy.height);
  const std::int64_t right = std::clamp<std::int64_t>(x + MagnifierLook::Cells, 0, copy.width);
  const std::int64_t bottom = std::clamp<std::int64_t>(y + MagnifierLook::Cells, 0, copy.height);
  if (left >= right || top >= bottom) return {};
  return {{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), static_cast<std::int32_t>(right - left),
           static_cast<std::int32_t>(bottom - top)},
          static_cast<std::int32_t>(left - x),
          static_cast<std::int32_t>(top - y)};
}

std::string MagnifierPositionText(Position pointer) {
  return std::to_string(pointer.left) + "," + std::to_string(pointer.top);
}

std::string MagnifierColourText(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", red, green, blue);
  return text;
}

bool IsLightColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return 299 * red + 587 * green + 114 * blue > 128 * 1000;
}

}  // namespace kmrn
