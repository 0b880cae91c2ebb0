#pragma once
// The mouse pointer drawn into a captured picture, exactly as the system draws it on the screen:
// a shape of two masks (the monochrome pointers, and colour ones without alpha) is laid with AND
// then XOR, so that inverting parts such as the text beam's stay visible on dark and light alike;
// a colour shape with an alpha channel is blended.

#include <cstdint>
#include <vector>

#include "framework/geometry.h"
#include "picture/dib.h"

namespace kmrn {

// A pointer's shape, read from the system once, when a capture is asked for. The pixels run row
// by row from the top.
struct PointerShape {
  PixelSize size;
  std::int32_t hotspotX = 0, hotspotY = 0;  // the point of the shape that lies at the pointer's position
  bool alpha = false;
  std::vector<Rgbq> andMask;  // masks only: each pixel black (cleared) or white (kept)
  // Masks: the XOR mask or colour. Alpha: the colour, unassociated (not multiplied by its alpha),
  // the alpha in `reserved`. That is how the system hands an alpha pointer's colour bitmap back:
  // the form in which a pointer is made from bitmaps and a cursor file stores it (an alpha cursor
  // is made from a DIB section of full colours with only the alpha varying), which the system
  // multiplies by the alpha itself when it draws the pointer.
  std::vector<Rgbq> image;
};

// The shape from the pointer's bitmaps as read at 32 bits, rows from the top. Without a colour
// bitmap `mask` is twice as tall as the shape, the AND half above the XOR half. A colour bitmap
// of 32 bits with alpha other than zero somewhere is blended by its alpha; otherwise the mask is
// its AND mask and the colour is XORed. Bitmaps whose sizes do not fit give an empty shape, which
// draws nothing.
PointerShape MakePointerShape(PixelSize size, std::int32_t hotspotX, std::int32_t hotspotY, std::vector<Rgbq> mask,
                              std::vector<Rgbq> colour, bool colourHas32Bits);

// The shape as the system shows it where its pointers are `shown` pixels across instead of the
// `designed` the shape was made for: each pixel repeated or dropped whole (no new colours, so the
// masks stay masks), the hotspot moved with it. Unchanged when the two are equal or not positive,
// and for a shape already `shown` pixels across.
PointerShape ScalePointerShape(const PointerShape& shape, int shown, int designed);

// Draws the shape with its hotspot at (x, y) of the picture; what falls outside the picture is
// left out. A 24-bit or standard 32-bit picture is drawn in place (the fourth byte of a 32-bit
// pixel is left as it is); any other depth first becomes 24 bits.
void DrawPointer(Dib& picture, const PointerShape& shape, std::int32_t x, std::int32_t y);

}  // namespace kmrn
