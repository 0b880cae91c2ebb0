#pragma once
// The clipboard, for pictures.

#include <windows.h>

namespace kmrn {

// Puts a copy of the bitmap on the clipboard as CF_BITMAP, replacing what it held. The bitmap
// must not be selected into a device context. Returns false when the clipboard stayed busy
// (another program may hold it for a moment) or GDI could not copy the picture.
bool PutBitmapOnClipboard(HWND owner, HBITMAP bitmap);

}  // namespace kmrn
