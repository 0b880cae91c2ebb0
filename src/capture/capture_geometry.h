#pragma once
// Where a capture looks and where its viewer lands: the client-area narrowing of a window
// capture, the bounds of the range overlay, the desktop area a listed window must touch, and the
// first position of a new viewer.

#include <span>
#include <string_view>

#include "framework/geometry.h"
#include "framework/monitor_layout.h"
#include "settings/settings.h"

namespace kmrn {

// The rectangle of a window capture. windowRect is the window's screen rectangle, clientOnScreen
// its client area on the screen. With alwaysWinClient on the client area is taken as it lies,
// whatever the borders, caption, menu or scroll bars around it; a window without a client area is
// taken whole.
PixelRect NarrowToClientArea(const ScreenRect& windowRect, const ScreenRect& clientOnScreen, bool alwaysWinClient);

// The rectangle of a window capture: the desktop window (DesktopClass) is the whole virtual
// screen when every monitor is used; any other window, and the desktop otherwise, as
// NarrowToClientArea says.
PixelRect WindowCaptureRect(std::string_view className, const ScreenRect& windowRect, const ScreenRect& clientOnScreen,
                            const Settings& settings, std::span<const Monitor> monitors);

// The screen rectangle the range overlay covers. With mDisplay_Enable on, the primary display at
// (0, 0, mDisplay_PW, mDisplay_PH) and the secondary at (mDisplay_SX, mDisplay_SY, mDisplay_SW,
// mDisplay_SH) are both covered, wherever the secondary lies; otherwise with every monitor used,
// the virtual screen; otherwise the desktop window's rectangle from its origin.
PixelRect OverlayBounds(const Settings& settings, const ScreenRect& desktopRect, std::span<const Monitor> monitors);

// The area a top-level window has to touch to be offered in the window list.
ScreenRect VisibleDesktopRect(const Settings& settings, const ScreenRect& desktopRect,
                              std::span<const Monitor> monitors);

// True when rect is not empty and touches visible; edges that only meet count as touching.
bool TouchesVisibleDesktop(const ScreenRect& rect, const ScreenRect& visible);

// The top-left corner of the viewer of a capture, by CapturedWinPos: 0 centres the captured size
// in the work area, 1 puts it at the work area's top-left, 2 lays the picture over the spot it
// came from, outside a frame as wide as the viewer draws it for ViewWinBorder. Other values are
// taken as 2, the setting's default. The work area is the main window's (mainWorkArea), but with
// AllMonitors on and dual display off it is that of the monitor holding the largest part of the
// capture, and for 0 and 1 the viewer is then kept wholly in it (one larger than it starts at its
// top-left); 2 stays on its spot, whatever monitor that is.
Position CapturedViewerPosition(const Settings& settings, const PixelRect& capture, const ScreenRect& mainWorkArea,
                                std::span<const Monitor> monitors);

// The top-left corner that centres a window of the given outer size in the work area (a viewer
// of an opened file).
Position CentredInWorkArea(const PixelSize& outerSize, const ScreenRect& workArea);

// The top-left corner of a viewer pinned from the clipboard: centred on the pointer, moved as
// little as it takes to lie wholly in the work area of the pointer's monitor; one larger than that
// area starts at its top-left.
Position PinnedViewerPosition(const PixelSize& outerSize, Position pointer, const ScreenRect& workArea);

}  // namespace kmrn
