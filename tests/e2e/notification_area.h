#pragma once
// A stand-in for the taskbar's notification area: a window of the shell's class "Shell_TrayWnd",
// served by a thread of its own, to which Shell_NotifyIcon hands the icons of the program under
// test (Wine's shell sends it WM_COPYDATA with the action as dwData, the icon's callback window as
// wParam, and the icon's record in a form of its own that is the same for 32- and 64-bit
// programs: window, identifier, flags, callback message, then the tip in UTF-16). Xvfb has no
// notification area of its own. The record's size field does not reach it: Wine's shell takes
// a record of any size as the first version's.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

namespace e2e {

struct IconCall {
  DWORD action;   // NIM_ADD, NIM_MODIFY, NIM_DELETE
  HWND callback;  // the window the icon's messages go to
  UINT id = 0;
  UINT flags = 0;
  UINT callbackMessage = 0;
  std::string tip{};  // UTF-8
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
