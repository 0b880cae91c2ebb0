#include "capture/capture_geometry.h"

#include <algorithm>

namespace kmrn {

PixelRect NarrowToClientArea(const ScreenRect& windowRect, const ScreenRect& clientRect, bool alwaysWinClient) {
  const std::int32_t w = windowRect.right - windowRect.left;
  const std::int32_t h = windowRect.bottom - windowRect.top;
  // The window's screen edges are compared with the client size. That tells a framed window
  // from a frameless one at the screen origin, whose rectangle is its client area already.
  if (!alwaysWinClient || windowRect.right == clientRect.right || windowRect.bottom == clientRect.bottom) {
    return {windowRect.left, windowRect.top, w, h};
  }
  // The caption and any menu sit above the client area; the side and bottom borders are taken
  // to be equally wide, so the client area rests on a bottom border as wide as a side border.
  const std::int32_t border = (w - clientRect.right) / 2;
  return {windowRect.left + border, windowRect.top + (h - clientRect.bottom) - border, clientRect.right,
          clientRect.bottom};
}

PixelRect OverlayBounds(const TSettings& s, const ScreenRect& desktopRect) {
  if (!s.mDisplay_Enable) return {0, 0, desktopRect.right, desktopRect.bottom};
  // A secondary display right of the primary is configured at mDisplay_SX == mDisplay_PW, which
  // puts the overlay at 0.
  const std::int32_t left =
      s.mDisplay_SX < 0 ? s.mDisplay_SX : SaturateToInt32(std::int64_t{s.mDisplay_PW} - s.mDisplay_SX);
  return {left, s.mDisplay_SY, SaturateToInt32(std::int64_t{s.mDisplay_PW} + s.mDisplay_SW),
          std::max(s.mDisplay_PH, s.mDisplay_SH)};
}

ScreenRect VisibleDesktopRect(const TSettings& s, const ScreenRect& desktopRect) {
  if (!s.mDisplay_Enable) return desktopRect;
  const bool secondaryLeft = s.mDisplay_SX < 0;
  return {secondaryLeft ? s.mDisplay_SX : 0, s.mDisplay_SY < 0 ? s.mDisplay_SY : 0,
          secondaryLeft ? s.mDisplay_PW : SaturateToInt32(std::int64_t{s.mDisplay_PW} + s.mDisplay_SW),
          std::max(s.mDisplay_PH, s.mDisplay_SH)};
}

bool TouchesVisibleDesktop(const ScreenRect& rect, const ScreenRect& visible) {
  return !IsEmpty(rect) && rect.right >= visible.left && rect.bottom >= visible.top && rect.left <= visible.right &&
         rect.top <= visible.bottom;
}

Position CapturedViewerPosition(std::int32_t capturedWinPos, const PixelRect& capture, std::int32_t viewWinBorder,
                                const ScreenRect& workArea) {
  switch (capturedWinPos) {
    case 0: return CentredInWorkArea({capture.width, capture.height}, workArea);
    case 1: return {workArea.left, workArea.top};
    case 2:
      return {SaturateToInt32(std::int64_t{capture.x} - viewWinBorder),
              SaturateToInt32(std::int64_t{capture.y} - viewWinBorder)};
    default: return {-1, -1};
  }
}

Position CentredInWorkArea(const PixelSize& outerSize, const ScreenRect& workArea) {
  return {workArea.left + (workArea.right - workArea.left) / 2 - outerSize.width / 2,
          workArea.top + (workArea.bottom - workArea.top) / 2 - outerSize.height / 2};
}

}  // namespace kmrn
