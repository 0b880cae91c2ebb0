#include "capture/win/window_list_win.h"

#include <algorithm>
#include <string>

#include "capture/capture_geometry.h"
#include "capture/window_list.h"
#include "framework/win/gdi.h"
#include "framework/win/text_win.h"
#include "framework/win/window_query.h"
#include "settings/settings.h"

namespace kmrn {
namespace {

// Long enough for more than the 99 bytes of the ANSI code page that the list shows of each text;
// the cut itself is made by the platform-free list, by the code page's byte count.
constexpr int TextBufferSize = 256;

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
  auto* windows = reinterpret_cast<std::vector<TopLevelWindow>*>(lParam);
  wchar_t title[TextBufferSize] = {};
  GetWindowTextW(hwnd, title, TextBufferSize);
  windows->push_back({reinterpret_cast<std::uintptr_t>(hwnd), Narrow(title), ClassNameOf(hwnd),
                      IsWindowVisible(hwnd) != 0, WindowRectOf(hwnd)});
  return TRUE;  // never stop early
}

}  // namespace

std::vector<HWND> RefreshWindowList(HWND listBox, HWND mainWindow, const Settings& settings) {
  std::vector<TopLevelWindow> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  WindowList list = BuildWindowList(windows, reinterpret_cast<std::uintptr_t>(mainWindow),
                                    VisibleDesktopRect(settings, DesktopRect(), DesktopMonitors()), AnsiLength);

  WindowDC dc(listBox);
  Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(listBox, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::string& item : list.items) {
    std::wstring text = Widen(item);
    SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  SendMessageW(listBox, LB_SETHORIZONTALEXTENT, widest + 5, 0);

  std::vector<HWND> handles;
  for (std::uintptr_t handle : list.handles) handles.push_back(reinterpret_cast<HWND>(handle));
  return handles;
}

void RestoreListedWindow(HWND window) {
  if (ClassNameOf(window) != InputMethodClass) OpenIcon(window);
}

void BringListedWindowForward(HWND window) {
  const std::string className = ClassNameOf(window);
  if (className == DesktopClass || className == TaskbarClass) return;
  RestoreListedWindow(window);
  SetForegroundWindow(window);
}

}  // namespace kmrn
