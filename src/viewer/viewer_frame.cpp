#include "viewer/viewer_frame.h"

#include <algorithm>

namespace kmrn {

std::int32_t ViewerFrameWidth(std::int32_t viewWinBorder) { return std::max(viewWinBorder, std::int32_t{0}); }

PixelSize ViewerOuterSize(const PixelSize& picture, std::int32_t frameWidth) {
  const std::int64_t frame = std::max(frameWidth, std::int32_t{0});
  return {SaturateToInt32(picture.width + 2 * frame), SaturateToInt32(picture.height + 2 * frame)};
}

ScreenRect ViewerClientRect(const ScreenRect& window, std::int32_t frameWidth) {
  const std::int64_t frame = std::max(frameWidth, std::int32_t{0});
  // Each side moves inwards by the frame, but no further than the window's middle.
  const std::int64_t midX = (std::int64_t{window.left} + window.right) / 2;
  const std::int64_t midY = (std::int64_t{window.top} + window.bottom) / 2;
  const std::int64_t left = std::min(window.left + frame, midX);
  const std::int64_t top = std::min(window.top + frame, midY);
  return {SaturateToInt32(left), SaturateToInt32(top), SaturateToInt32(std::max(window.right - frame, left)),
          SaturateToInt32(std::max(window.bottom - frame, top))};
}

}  // namespace kmrn
