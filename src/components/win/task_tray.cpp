#include "components/win/task_tray.h"

#include <shellapi.h>

#include <cstring>
#include <memory>

#include "components/tray_icon.h"
#include "framework/text.h"
#include "framework/win/message_loop.h"
#include "framework/win/text_win.h"
#include "framework/win/window.h"

namespace kmrn {

// The window the shell sends every icon's messages to.
class TrayCallbackWindow final : public Window {
 public:
  explicit TrayCallbackWindow(HWND parent) {
    CreateWindowOfClass({L"TMyCallback"}, 0, WS_CHILD, L"", parent, RECT{0, 0, 0, 0});
  }
  ~TrayCallbackWindow() override { DestroyHandle(); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

namespace {

// Shared by the program's icons: the callback window lives while any icon does.
struct TrayIcons {
  TrayIconRegistry<TaskTray> registry;
  std::unique_ptr<TrayCallbackWindow> callbackWindow;
  int count = 0;
};
TrayIcons& Icons() {
  static TrayIcons icons;
  return icons;
}

// The longest tip the first version of the icon record holds: 63 bytes and the final zero.
constexpr std::size_t TipMaxBytes = 63;

}  // namespace

LRESULT TrayCallbackWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TrayCallbackMessage) {
    // A message for an icon that is not (or no longer) the program's is ignored.
    if (TaskTray* icon = Icons().registry.Find(static_cast<std::uint32_t>(wParam))) {
      icon->OnShellMessage(static_cast<std::uint32_t>(lParam));
    }
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

TaskTray::TaskTray(HWND owner) : owner_(owner) {
  TrayIcons& icons = Icons();
  if (!icons.callbackWindow) icons.callbackWindow = std::make_unique<TrayCallbackWindow>(owner);
  id_ = icons.registry.Add(this);
  ++icons.count;
}

TaskTray::~TaskTray() {
  TrayIcons& icons = Icons();
  icons.registry.Remove(id_);
  if (--icons.count == 0) icons.callbackWindow.reset();
}

HWND TaskTray::CallbackWindow() const { return Icons().callbackWindow ? Icons().callbackWindow->Handle() : nullptr; }

bool TaskTray::SetIcon(int action, HICON icon, const std::string& tip) {
  DWORD message;
  switch (static_cast<Action>(action)) {
    case Action::Add: message = NIM_ADD; break;
    case Action::Modify: message = NIM_MODIFY; break;
    case Action::Delete: message = NIM_DELETE; break;
    default: return false;
  }
  // The record's first version, with the tip in the ANSI code page: the same fields for every action.
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = CallbackWindow();
  data.uID = id_;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = TrayCallbackMessage;
  data.hIcon = icon;
  const std::string ansiTip = Utf8ToAnsi(CutToEncodedLength(tip, TipMaxBytes, AnsiLength));
  std::memcpy(data.szTip, ansiTip.data(), ansiTip.size());
  return Shell_NotifyIconA(message, &data) != FALSE;
}

void TaskTray::OnShellMessage(std::uint32_t mouseMessage) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const TrayReactions reactions{OnMouseDown && EnableMouseDown, OnMouseUp && EnableMouseUp,
                                OnMMouseDown && EnableMMouseDown, OnMMouseUp && EnableMMouseUp,
                                static_cast<bool>(OnPopupMenu)};
  const TrayAction action = TrayActionFor(mouseMessage, reactions);
  if (action == TrayAction::None) return;
  // The program's window comes forward first, also when it is hidden, so that what the event
  // shows (the window, the menu, the overlay) may take the foreground.
  SetForegroundWindow(owner_);
  switch (action) {
    case TrayAction::MouseDown: OnMouseDown(cursor); break;
    case TrayAction::MouseUp: OnMouseUp(cursor); break;
    case TrayAction::MiddleDown: OnMMouseDown(cursor); break;
    case TrayAction::MiddleUp: OnMMouseUp(cursor); break;
    case TrayAction::PopupMenu: OnPopupMenu(cursor); break;
    case TrayAction::None: break;
  }
  ProcessPendingMessages();
}

}  // namespace kmrn
