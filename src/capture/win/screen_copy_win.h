#pragma once
// The platform side of a capture: waiting for hidden windows to leave the screen, and the one
// screen copy.

#include <windows.h>

#include "framework/geometry.h"
#include "framework/win/gdi.h"

namespace kmrn {

// On a composited desktop a window that was just hidden is still in the screen's pixels until the
// next composition; this waits for it. Without composition it returns at once, so a range capture
// still happens the moment the drag ends.
void WaitForHiddenWindowsToLeaveScreen() noexcept;

// The pixels the screen shows in the rectangle, in a bitmap compatible with the screen (its depth
// is the display's), taken with a single BitBlt. Throws when GDI cannot make the bitmap.
Bitmap CopyScreenRect(const PixelRect& rect);

}  // namespace kmrn
