#pragma once
// The window list of window mode: the visible top-level windows, front to back.

#include <windows.h>

#include <vector>

namespace kmrn {

// Appends the current top-level windows to the (already cleared) list box, sets its sideways
// scrolling to the widest item plus 5 pixels, and returns the windows in item order.
std::vector<HWND> RefreshWindowList(HWND listBox, HWND mainWindow);

}  // namespace kmrn
