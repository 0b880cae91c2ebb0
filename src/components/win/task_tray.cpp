#include "components/win/task_tray.h"

#include <shellapi.h>

#include <cstring>

#include "components/tray_icon.h"
#include "framework/text.h"
#include "framework/win/message_loop.h"
#include "framework/win/text_win.h"
#include "framework/win/window.h"

namespace kmrn {
namespace {

// The program has one icon.
constexpr UINT TrayIconId = 1;

// The longest tip the first version of the icon record holds: 63 bytes and the final zero.
constexpr std::size_t TipMaxBytes = 63;

}  // namespace

// The window the shell sends the icon's messages to.
class TrayCallbackWindow final : public Window {
 public:
  TrayCallbackWindow(HWND parent, TaskTray& tray) : tray_(tray) {
    CreateWindowOfClass({L"TMyCallback"}, 0, WS_CHILD, L"", parent, RECT{0, 0, 0, 0});
  }
  ~TrayCallbackWindow() override { DestroyHandle(); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    // A message for another icon identifier is not the program's and is ignored.
    if (message == TrayCallbackMessage) {
      if (wParam == TrayIconId) tray_.OnShellMessage(static_cast<std::uint32_t>(lParam));
      return 0;
    }
    return DefaultHandling(message, wParam, lParam);
  }

  TaskTray& tray_;
};

TaskTray::TaskTray(HWND owner) : owner_(owner), callbackWindow_(std::make_unique<TrayCallbackWindow>(owner, *this)) {}

TaskTray::~TaskTray() = default;

void TaskTray::OnShellMessage(std::uint32_t mouseMessage) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const TrayReactions reactions{static_cast<bool>(OnLeftButtonUp), static_cast<bool>(OnMiddleButtonUp),
                                static_cast<bool>(OnPopupMenu)};
  const TrayAction action = TrayActionFor(mouseMessage, reactions);
  if (action == TrayAction::None) return;
  // The program's window comes forward first, also when it is hidden, so that what the event
  // shows (the window, the menu, the overlay) may take the foreground.
  SetForegroundWindow(owner_);
  switch (action) {
    case TrayAction::LeftButtonUp: OnLeftButtonUp(cursor); break;
    case TrayAction::MiddleButtonUp: OnMiddleButtonUp(cursor); break;
    case TrayAction::PopupMenu: OnPopupMenu(cursor); break;
    case TrayAction::None: break;
  }
  ProcessPendingMessages();
}

TrayIcon::TrayIcon(const TaskTray& tray, HICON icon, std::string tip)
    : callbackWindow_(tray.callbackWindow_->Handle()), icon_(icon), tip_(std::move(tip)) {
  Send(NIM_ADD);
}

TrayIcon::~TrayIcon() { Send(NIM_DELETE); }

void TrayIcon::AddAgain() { Send(NIM_ADD); }

void TrayIcon::Send(DWORD message) const {
  // The record's first version, with the tip in the ANSI code page: the same fields for every message.
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = callbackWindow_;
  data.uID = TrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = TrayCallbackMessage;
  data.hIcon = icon_;
  const std::string ansiTip = Utf8ToAnsi(CutToEncodedLength(tip_, TipMaxBytes, AnsiLength));
  std::memcpy(data.szTip, ansiTip.data(), ansiTip.size());
  Shell_NotifyIconA(message, &data);
}

}  // namespace kmrn
