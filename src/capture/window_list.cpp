#include "capture/window_list.h"

#include "capture/capture_geometry.h"

namespace kmrn {
namespace {

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string CutWindowText(std::string_view text, const EncodedLength& bytesOf) {
  std::size_t kept = 0;
  std::size_t encoded = 0;
  while (kept < text.size()) {
    std::size_t end = kept + 1;
    while (end < text.size() && IsUtf8Continuation(text[end])) ++end;
    encoded += bytesOf(text.substr(kept, end - kept));
    if (encoded > WindowTextMaxBytes) break;
    kept = end;
  }
  return std::string(text.substr(0, kept));
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
