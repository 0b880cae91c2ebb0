#pragma once
// The clipboard, for pictures.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

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

// A movable global memory block holding a copy of the bytes, as the clipboard and drag and drop
// take data; nullptr when there is no memory for it. The caller owns it until it hands it over.
HGLOBAL GlobalCopyOf(std::span<const std::uint8_t> bytes) noexcept;

// Hands a promised format's bytes to the clipboard, which must be open (as it is for the asking
// program during WM_RENDERFORMAT). False when there was no memory for them or the clipboard
// refused them.
bool SetClipboardBytes(UINT format, std::span<const std::uint8_t> bytes) noexcept;

// Opens the clipboard and runs render while owner still owns it, for WM_RENDERALLFORMATS:
// nothing when another program has put something else there since.
void RenderWhileOwner(HWND owner, const std::function<void()>& render);

// What the clipboard holds in the first of the formats asked for, in their order.
struct ClipboardContent {
  UINT format = 0;                  // 0: it holds none of them
  std::vector<std::uint8_t> bytes;  // the memory block, at most maxBytes of it (CF_HDROP: none)
  std::vector<std::string> files;   // CF_HDROP: the paths, UTF-8
};

// Reads that format's data. A block is taken as the system sizes it, which may be more than its
// writer put in, and never beyond maxBytes, however large another program declared it. Throws
// ClipboardReadError when the clipboard stayed busy.
ClipboardContent ReadClipboard(HWND owner, std::span<const UINT> formats, std::size_t maxBytes);

}  // namespace kmrn
