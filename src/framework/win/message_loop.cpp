#include "framework/win/message_loop.h"

#include "framework/win/window.h"

namespace kmrn {
namespace {

// The window with dialog keys a message is for, if any.
HWND DialogWindowFor(HWND target) {
  if (!target) return nullptr;
  HWND root = GetAncestor(target, GA_ROOT);
  return Window::TakesDialogKeys(root) ? root : nullptr;
}

void Dispatch(MSG& message) {
  // Only keyboard messages need the dialog's navigation; the rest go straight on.
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
    if (HWND dialog = DialogWindowFor(message.hwnd); dialog && IsDialogMessageW(dialog, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

void MoveDialogFocus(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                             : GetNextDlgTabItem(window, GetFocus(), wParam != 0 ? TRUE : FALSE);
  if (next) SetFocus(next);
}

void ProcessPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

void RunModalLoop(const std::function<bool()>& running) {
  MSG message;
  while (running()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
  return static_cast<int>(message.wParam);
}

}  // namespace kmrn
