#pragma once
// The program's icon in the taskbar's notification area. TaskTray receives the shell's messages
// for the icon in a window of class "TMyCallback", a child of the owner, and turns them into
// events; TrayIcon is the icon itself, there exactly while the object lives.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kmrn {

class TrayCallbackWindow;

class TaskTray {
 public:
  // owner: the window brought to the front before each event (the main window).
  explicit TaskTray(HWND owner);
  ~TaskTray();
  TaskTray(const TaskTray&) = delete;
  TaskTray& operator=(const TaskTray&) = delete;

  // The events, with the cursor's screen position; each runs when it is set.
  std::function<void(POINT)> OnLeftButtonUp, OnMiddleButtonUp, OnPopupMenu;

 private:
  friend class TrayCallbackWindow;
  friend class TrayIcon;
  // One message from the shell for the icon.
  void OnShellMessage(std::uint32_t mouseMessage);

  HWND owner_;
  std::unique_ptr<TrayCallbackWindow> callbackWindow_;
};

// The icon with its tip, added to the notification area when made and removed when destroyed.
// The tip shows at most 63 bytes of the ANSI code page, never cut inside a character.
class TrayIcon {
 public:
  // The shell's answer is not acted on: a shell that is not there yet announces itself later, and
  // the program then adds the icon again.
  TrayIcon(const TaskTray& tray, HICON icon, std::string tip);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // A restarted shell knows no icons: adds this one again.
  void AddAgain();

 private:
  void Send(DWORD message) const;

  HWND callbackWindow_;
  HICON icon_;
  std::string tip_;
};

}  // namespace kmrn
