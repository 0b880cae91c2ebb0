#pragma once
// The clipboard, for pictures.

#include <windows.h>

#include "framework/win/gdi.h"

namespace kmrn {

// Puts a copy of the bitmap on the clipboard as CF_BITMAP, and the palette, when one is given, as
// CF_PALETTE (the clipboard takes it over), replacing what it held. The bitmap must not be selected
// into a device context. Throws ClipboardError, with the system's reason, when the clipboard stayed
// busy (another program may hold it for a moment) or GDI could not copy the picture.
void PutBitmapOnClipboard(HWND owner, HBITMAP bitmap, GdiObject<HPALETTE> palette = {});

}  // namespace kmrn
