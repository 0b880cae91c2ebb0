#pragma once
// The program's message boxes: the standard error box that every handler's exception ends in,
// and the questions and notices it asks with its own captions.

#include <windows.h>

#include <exception>
#include <string>

namespace kmrn {

inline constexpr const char* ProgramCaption = "Kamerin";

// Shows the error's text; the action that failed has stopped, the program goes on.
void ShowErrorBox(HWND owner, const std::exception& error) noexcept;
void ShowUnknownErrorBox(HWND owner) noexcept;

// A Win32 message box with UTF-8 texts; returns the button pressed (IDYES, IDOK ...).
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

}  // namespace kmrn
