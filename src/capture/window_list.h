#pragma once
// The window list of window mode: the text of each item and which top-level windows are offered.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/geometry.h"
#include "framework/text.h"

namespace kmrn {

// Windows the list and the captures treat in their own way: the desktop and the taskbar, listed
// under names of their own and never brought forward; an input method's window, which restores
// itself in its own way and is never restored by the program.
inline constexpr const char* DesktopClass = "Progman";
inline constexpr const char* TaskbarClass = "Shell_TrayWnd";
inline constexpr const char* InputMethodClass = "IMWindowClass";

// Titles and class names show as they would through a 100-byte buffer of the ANSI code page: at
// most 99 bytes of that code page each (99 letters, 49 Japanese characters).
inline constexpr std::size_t WindowTextMaxBytes = 99;

// The longest start of the text that takes at most WindowTextMaxBytes bytes of the code page,
// never cut inside a character.
std::string CutWindowText(std::string_view text, const EncodedLength& bytesOf);

// "[title] [class]", or a fixed name for the desktop ("Progman") and the taskbar ("Shell_TrayWnd").
std::string WindowItemText(std::string_view title, std::string_view className, const EncodedLength& bytesOf);

// A top-level window as the enumeration found it. handle is the window handle as an integer.
struct TopLevelWindow {
  std::uintptr_t handle = 0;
  std::string title;
  std::string className;
  bool visible = false;
  ScreenRect rect;
};

// The list items and, at the same index, the window each one stands for.
struct WindowList {
  std::vector<std::string> items;
  std::vector<std::uintptr_t> handles;
};

// The windows worth offering, in the enumeration's front-to-back order: visible, not empty,
// touching visibleDesktop, and not the main window.
WindowList BuildWindowList(const std::vector<TopLevelWindow>& windows, std::uintptr_t mainWindow,
                           const ScreenRect& visibleDesktop, const EncodedLength& bytesOf);

}  // namespace kmrn
