#pragma once
// The clipboard, for pictures.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>

#include "framework/win/gdi.h"

namespace kmrn {

// Puts a copy of the bitmap on the clipboard as CF_BITMAP, and the palette, when one is given, as
// CF_PALETTE (the clipboard takes it over), replacing what it held. Each of the promised formats
// is announced without data: the owner hands it over when a program asks for it
// (WM_RENDERFORMAT), and before the owner window goes (WM_RENDERALLFORMATS). The bitmap must not
// be selected into a device context. Throws ClipboardError, with the system's reason, when the
// clipboard stayed busy (another program may hold it for a moment) or GDI could not copy the
// picture.
void PutBitmapOnClipboard(HWND owner, HBITMAP bitmap, GdiObject<HPALETTE> palette = {},
                          std::span<const UINT> promised = {});

// Hands a promised format's bytes to the clipboard, which must be open (as it is for the asking
// program during WM_RENDERFORMAT). False when there was no memory for them or the clipboard
// refused them.
bool SetClipboardBytes(UINT format, std::span<const std::uint8_t> bytes) noexcept;

// Opens the clipboard and runs render while owner still owns it, for WM_RENDERALLFORMATS:
// nothing when another program has put something else there since.
void RenderWhileOwner(HWND owner, const std::function<void()>& render);

}  // namespace kmrn
