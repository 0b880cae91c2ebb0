#include "capture/window_list.h"

#include "capture/capture_geometry.h"

namespace kmrn {
std::string CutWindowText(std::string_view text, const EncodedLength& bytesOf) {
  return CutToEncodedLength(text, WindowTextMaxBytes, bytesOf);
}

std::string WindowItemText(std::string_view title, std::string_view className, const EncodedLength& bytesOf) {
  const std::string name = CutWindowText(className, bytesOf);
  if (name == DesktopClass) return "[デスクトップ全体]";
  if (name == TaskbarClass) return "[タスクバー]";
  std::string text = "[";
  text.append(CutWindowText(title, bytesOf)).append("] [").append(name).append("]");
  return text;
}

WindowList BuildWindowList(const std::vector<TopLevelWindow>& windows, std::uintptr_t mainWindow,
                           const ScreenRect& visibleDesktop, const EncodedLength& bytesOf) {
  WindowList list;
  for (const TopLevelWindow& window : windows) {
    if (window.handle == mainWindow || !window.visible || !TouchesVisibleDesktop(window.rect, visibleDesktop)) {
      continue;
    }
    list.items.push_back(WindowItemText(window.title, window.className, bytesOf));
    list.handles.push_back(window.handle);
  }
  return list;
}

}  // namespace kmrn
