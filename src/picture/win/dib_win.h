#pragma once
// Moving pictures between GDI (the screen copy, the windows, the clipboard) and Dib (what the
// files and the picture operations use).

#include <windows.h>

#include <memory>

#include "framework/geometry.h"
#include "framework/win/gdi.h"
#include "picture/dib.h"

namespace kmrn {

// The bitmap's pixels at its own depth (masks for 16 bits, the palette for 8 bits or fewer).
// Throws ImageTooLargeError when the picture exceeds the program's limit.
Dib DibFromBitmap(HBITMAP bitmap);

// A DIB section holding a copy of the picture. Throws when GDI cannot make it.
Bitmap BitmapFromDib(const Dib& dib);

// A picture whose rows are the bits of a DIB section, so that GDI draws straight into them and
// hands them on as a bitmap without a copy. The section lives as long as the picture or any copy
// of it does; after drawing into it, GdiFlush before the rows are read.
struct SectionDib {
  Dib dib;
  std::shared_ptr<Bitmap> bitmap;
};
// A black picture of this size at 24 or 32 bits. Throws ImageTooLargeError when GDI cannot make
// the section.
SectionDib MakeSectionDib(std::int32_t width, std::int32_t height, unsigned bitCount);

// The picture at the given size and at the display's depth, each pixel repeated or dropped
// whole (for enlarging, or a 1:1 copy), as a zoom step leaves it.
Dib AtDisplayDepth(const Dib& dib, PixelSize size);

// Paints the part of the picture that falls into the area, 1:1, at the DC's origin.
void PaintDib(HDC dc, const Dib& dib, const RECT& area);

// The picture's palette as a GDI palette, or none for a picture without one.
using Palette = GdiObject<HPALETTE>;
Palette PaletteOf(const Dib& dib);

}  // namespace kmrn
