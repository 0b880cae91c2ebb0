#include "capture/win/window_list_win.h"

#include <algorithm>

#include "capture/capture_geometry.h"
#include "capture/window_list.h"
#include "framework/win/gdi.h"
#include "framework/win/text_win.h"
#include "settings/settings.h"

namespace kmrn {
namespace {

// Titles and class names are read through 100-character buffers, as the list shows at most
// 99 bytes of each.
constexpr int TextBufferSize = 100;

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
  auto* windows = reinterpret_cast<std::vector<TopLevelWindow>*>(lParam);
  wchar_t title[TextBufferSize] = {};
  wchar_t className[TextBufferSize] = {};
  GetWindowTextW(hwnd, title, TextBufferSize);
  GetClassNameW(hwnd, className, TextBufferSize);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  windows->push_back({reinterpret_cast<std::uintptr_t>(hwnd), Narrow(title), Narrow(className),
                      IsWindowVisible(hwnd) != 0, ScreenRect{rect.left, rect.top, rect.right, rect.bottom}});
  return TRUE;  // never stop early
}

}  // namespace

std::vector<HWND> RefreshWindowList(HWND listBox, HWND mainWindow) {
  std::vector<TopLevelWindow> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  WindowList list = BuildWindowList(
      windows, reinterpret_cast<std::uintptr_t>(mainWindow),
      VisibleDesktopRect(Settings, ScreenRect{desktop.left, desktop.top, desktop.right, desktop.bottom}));

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

}  // namespace kmrn
