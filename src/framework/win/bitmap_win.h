#pragma once
// GDI bitmaps in the screen's format: their size and copies of them.

#include <windows.h>

#include "framework/geometry.h"
#include "framework/win/gdi.h"

namespace kmrn {

// The screen's bits per pixel (8 or less for a palette display).
int DisplayDepth() noexcept;

// The width and height of a bitmap (0, 0 for none).
PixelSize BitmapSize(HBITMAP bitmap) noexcept;

// A copy of the bitmap, compatible with the screen. Throws when GDI cannot make it.
Bitmap CopyBitmap(HBITMAP source);

// A copy stretched to the given size by repeating or dropping whole pixels, never blending them
// (for enlarging). Throws ImageTooLargeError when GDI cannot hold the result.
Bitmap StretchedCopy(HBITMAP source, PixelSize size);

}  // namespace kmrn
