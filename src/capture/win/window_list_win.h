#pragma once
// The window list of window mode: the visible top-level windows, front to back, and what the
// program does with a window chosen from it.

#include <windows.h>

#include <vector>

#include "settings/settings.h"

namespace kmrn {

// Appends the current top-level windows that touch the desktop the settings describe to the
// (already cleared) list box, sets its sideways scrolling to the widest item plus 5 pixels, and
// returns the windows in item order.
std::vector<HWND> RefreshWindowList(HWND listBox, HWND mainWindow, const Settings& settings);

// Restores a minimised window, unless it is an input method's.
void RestoreListedWindow(HWND window);

// Restores a window and brings it to the front (a double click in the list); the desktop and the
// taskbar stay where they are.
void BringListedWindowForward(HWND window);

}  // namespace kmrn
