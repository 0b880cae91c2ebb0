#pragma once
// Moving pictures between GDI bitmaps (what the screen copy and the windows use) and Dib
// (what the files and the picture operations use).

#include <windows.h>

#include "framework/win/gdi.h"
#include "viewer/dib.h"

namespace kmrn {

// The bitmap's pixels at its own depth (masks for 16 bits, the palette for 8 bits or fewer).
// Throws ImageTooLargeError when the picture exceeds the program's limit.
Dib DibFromBitmap(HBITMAP bitmap);

// A DIB section holding a copy of the picture. Throws when GDI cannot make it.
Bitmap BitmapFromDib(const Dib& dib);

}  // namespace kmrn
