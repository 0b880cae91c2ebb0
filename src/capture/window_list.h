#pragma once
// The window list of window mode: the text of each item and which top-level windows are offered.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/geometry.h"

namespace kmrn {

// Titles and class names are read through a 100-byte buffer, so at most 99 bytes of each show.
inline constexpr std::size_t WindowTextMaxBytes = 99;

// text cut to at most WindowTextMaxBytes bytes, never inside a UTF-8 character.
std::string CutWindowText(std::string_view text);

// "[title] [class]", or a fixed name for the desktop ("Progman") and the taskbar ("Shell_TrayWnd").
std::string WindowItemText(std::string_view title, std::string_view className);

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
                           const ScreenRect& visibleDesktop);

}  // namespace kmrn
