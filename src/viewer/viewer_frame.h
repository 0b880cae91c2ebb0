#pragma once
// The frame around a viewer's picture: ViewWinBorder pixels on every side, outside the picture,
// so that the picture fills the client area exactly.

#include <cstdint>

#include "framework/geometry.h"

namespace kmrn {

// The frame width a viewer is made with. The settings dialog only takes digits, but a hand-edited
// file may say anything; a negative width would put the picture outside its own window, so it
// gives no frame at all.
std::int32_t ViewerFrameWidth(std::int32_t viewWinBorder);

// The window's outer size for a picture: the frame on every side.
PixelSize ViewerOuterSize(const PixelSize& picture, std::int32_t frameWidth);

// The client area inside a window rectangle (the picture's place). A window too small for its
// frame has an empty client area rather than an inverted one.
ScreenRect ViewerClientRect(const ScreenRect& window, std::int32_t frameWidth);

}  // namespace kmrn
