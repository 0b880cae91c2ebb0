#pragma once
// Moving a window into or out of the topmost band, without moving, sizing or activating it.

#include <windows.h>

namespace kmrn {

// Moves the window; true when it is in the asked band afterwards.
bool SetTopMostBand(HWND window, bool onTop) noexcept;

inline bool IsTopMost(HWND window) noexcept { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

}  // namespace kmrn
