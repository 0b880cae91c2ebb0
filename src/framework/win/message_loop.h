#pragma once
// The program's message loop. In the program's windows that ask for it (Window::UseDialogKeys),
// Tab, Shift+Tab and the arrow keys move the focus between their controls as in a dialog.

#include <windows.h>

#include <functional>

namespace kmrn {

// What such a window does with WM_NEXTDLGCTL, which the dialog navigation sends it for the
// arrow keys: moves the focus to the control given, or to the next or previous tab stop.
void MoveDialogFocus(HWND window, WPARAM wParam, LPARAM lParam);

// Handles every message waiting now, then returns (a quit message is left for the loop).
void ProcessPendingMessages();

// Handles messages while a modal window is open (running() true); a quit message ends it early
// and is left for the program's own loop.
void RunModalLoop(const std::function<bool()>& running);

// Runs until the quit message; returns its exit code.
int RunMessageLoop();

}  // namespace kmrn
