#pragma once
// A stand-in for the taskbar's notification area: a window of the shell's class "Shell_TrayWnd",
// served by a thread of its own, to which Shell_NotifyIcon hands the icons of the program under
// test (Wine's shell sends it WM_COPYDATA with the action as dwData and the icon's callback window
// as wParam). Xvfb has no notification area of its own.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <memory>
#include <vector>

namespace e2e {

struct IconCall {
  DWORD action;   // NIM_ADD, NIM_MODIFY, NIM_DELETE
  HWND callback;  // the window the icon's messages go to
};

class NotificationArea {
 public:
  NotificationArea();
  ~NotificationArea();
  NotificationArea(const NotificationArea&) = delete;
  NotificationArea& operator=(const NotificationArea&) = delete;

  // What has been asked of it so far, in order.
  std::vector<IconCall> Calls() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace e2e
