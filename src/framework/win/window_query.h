#pragma once
// What the program asks the system about windows and screens.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/geometry.h"
#include "framework/monitor_layout.h"

namespace kmrn {

// A window's class name (UTF-8), empty for a window that has gone.
std::string ClassNameOf(HWND window);

// A window's outer rectangle on the screen.
ScreenRect WindowRectOf(HWND window) noexcept;

// A window's client area on the screen, wherever its borders, caption, menu and scroll bars lie.
ScreenRect ClientRectOnScreen(HWND window) noexcept;

// The desktop window's rectangle: the primary screen.
ScreenRect DesktopRect() noexcept;

// The work area (the screen less docked bars) of the monitor that holds the window, or of the
// nearest monitor when the window lies on none.
ScreenRect WorkAreaOf(HWND window) noexcept;
// The work area of the monitor under the screen point (the nearest one when none is).
ScreenRect WorkAreaAt(Position point) noexcept;

// Every monitor of the desktop with its work area and DPI, in the system's order; the primary
// screen alone where the system lists none.
MonitorLayout DesktopMonitors();

// The windows of this thread owned by the window, directly or through one another.
std::vector<HWND> WindowsOwnedBy(HWND owner);

}  // namespace kmrn
