#include "viewer/viewer_zoom.h"

#include <algorithm>

#include "picture/dib.h"

namespace kmrn {

std::optional<int> WheelZoomLevel(int level, WheelDirection direction, bool viewWinWheelStretch) {
  if (!viewWinWheelStretch) return std::nullopt;
  if (direction == WheelDirection::Up) {
    if (level >= MaxZoomLevel) return std::nullopt;
    return level + 1;
  }
  if (level <= MinZoomLevel) return std::nullopt;
  return level - 1;
}

PixelSize ZoomedPictureSize(PixelSize base, int level) {
  level = std::clamp(level, MinZoomLevel, MaxZoomLevel);
  const std::int64_t factor = level == 0 ? 1 : 2 * std::int64_t{level < 0 ? -level : level};
  std::int64_t width = base.width, height = base.height;
  if (level < 0) {
    width /= factor;
    height /= factor;
  } else {
    width *= factor;
    height *= factor;
  }
  // A window needs at least one pixel each way; a 3-pixel-high capture at 25 % would have none.
  // Sizes beyond 32 bits are refused by ZoomedPictureAllowed, so saturating loses nothing.
  return {std::max(SaturateToInt32(width), std::int32_t{1}), std::max(SaturateToInt32(height), std::int32_t{1})};
}

bool ZoomedPictureAllowed(PixelSize zoomed) { return DibSizeAllowed(zoomed.width, zoomed.height, 32); }

StretchQuality StretchQualityForLevel(int level) {
  return level < 0 ? StretchQuality::Averaging : StretchQuality::PixelExact;
}

Position ZoomedWindowPosition(Position old, PixelSize oldOuterSize, PixelSize newPictureSize) {
  return CentredIn(newPictureSize, PixelRect{old.left, old.top, oldOuterSize.width, oldOuterSize.height},
                   Centring::HalfTheRoom);
}

const char* ZoomLabelCaption(int level) {
  switch (std::clamp(level, MinZoomLevel, MaxZoomLevel)) {
    case -2: return " 25% ";
    case -1: return " 50% ";
    case 1: return " 200% ";
    case 2: return " 400% ";
    default: return " 100% ";
  }
}

std::uint32_t ZoomLabelTextColor(std::int32_t frameColor) {
  const auto color = static_cast<std::uint32_t>(frameColor);
  const std::uint32_t red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
  constexpr std::uint32_t Black = 0x000000, White = 0xFFFFFF;
  return (red + green + blue) / 3 >= 127 ? Black : White;
}

bool AdvanceZoomLabel(ZoomLabel& label, std::int32_t labelWidth) {
  ++label.ticks;
  if (label.ticks > ZoomLabelStillTicks) --label.left;
  return std::int64_t{label.left} + labelWidth >= 0;
}

}  // namespace kmrn
