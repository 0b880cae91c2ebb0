#pragma once
// The platform side of a capture: waiting for hidden windows to leave the screen, and the one
// screen copy.

#include <windows.h>

#include "framework/geometry.h"
#include "framework/win/gdi.h"
#include "picture/win/dib_win.h"
#include "settings/settings.h"

namespace kmrn {

// On a composited desktop a window that was just hidden is still in the screen's pixels until the
// next composition; this waits for it. Without composition it returns at once, so a range capture
// still happens the moment the drag ends.
void WaitForHiddenWindowsToLeaveScreen() noexcept;

// What a copy shows where its rectangle lies on no monitor.
enum class OffMonitors {
  AsCopied,  // whatever the system's screen copy gives there
  Black,     // black, on a desktop of several monitors (on one, nothing is asked)
};

// Black where every monitor is used (see UsesAllMonitors); as copied otherwise.
OffMonitors OffMonitorsFor(const Settings& settings);

// The pixels the screen shows in the rectangle at the display's depth, taken with a single BitBlt
// into the one picture that the files, the clipboard and the viewer all use. Throws when GDI
// cannot make the bitmap.
SectionDib CopyScreenRect(const PixelRect& rect, OffMonitors offMonitors);

}  // namespace kmrn
