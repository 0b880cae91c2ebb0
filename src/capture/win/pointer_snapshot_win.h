#pragma once
// The mouse pointer in a capture (CaptureCursor): taken when the capture is asked for, before any
// of the program's windows moves, and drawn into the picture right after the screen copy, so that
// the files, the clipboard and the viewer all show it.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "framework/geometry.h"
#include "picture/pointer_overlay.h"
#include "picture/win/dib_win.h"

namespace kmrn {

// Where the pointer was on the screen and how it looked there, at the size the system showed it.
struct PointerSnapshot {
  std::int32_t x = 0, y = 0;
  PointerShape shape;
};

// The pointer as it is now; none while it is hidden or when its shape cannot be read.
std::optional<PointerSnapshot> SnapPointer();

// Draws the pointer into a picture of the screen rectangle `rect` where it lay inside it. Throws
// when GDI cannot make a bitmap for a picture at a depth that must change.
void DrawPointerSnapshot(SectionDib& picture, const PointerSnapshot& pointer, const PixelRect& rect);

}  // namespace kmrn
