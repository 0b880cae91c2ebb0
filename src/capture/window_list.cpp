#include "capture/window_list.h"

#include "capture/capture_geometry.h"

namespace kmrn {
namespace {

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string CutWindowText(std::string_view text) {
  if (text.size() <= WindowTextMaxBytes) return std::string(text);
  std::size_t cut = WindowTextMaxBytes;
  // Step back to the first byte of the character the cut would split. A UTF-8 character has at
  // most three continuation bytes; more than that is not UTF-8 and is cut where it stands.
  std::size_t back = 0;
  while (back < 3 && cut - back > 0 && IsUtf8Continuation(text[cut - back])) ++back;
  if (!IsUtf8Continuation(text[cut - back])) cut -= back;
  return std::string(text.substr(0, cut));
}

std::string WindowItemText(std::string_view title, std::string_view className) {
  const std::string name = CutWindowText(className);
  if (name == "Progman") return "[デスクトップ全体]";
  if (name == "Shell_TrayWnd") return "[タスクバー]";
  std::string text;
  text.reserve(title.size() + name.size() + 5);
  text.append("[").append(CutWindowText(title)).append("] [").append(name).append("]");
  return text;
}

WindowList BuildWindowList(const std::vector<TopLevelWindow>& windows, std::uintptr_t mainWindow,
                           const ScreenRect& visibleDesktop) {
  WindowList list;
  for (const TopLevelWindow& window : windows) {
    if (window.handle == mainWindow || !window.visible || !TouchesVisibleDesktop(window.rect, visibleDesktop)) {
      continue;
    }
    list.items.push_back(WindowItemText(window.title, window.className));
    list.handles.push_back(window.handle);
  }
  return list;
}

}  // namespace kmrn
