#pragma once
// One icon with a tip in the taskbar's notification area, whose mouse messages become events.
// All icons of the program share one callback window of class "TMyCallback", a child of the first
// icon's owner; the shell's messages for an icon reach it there by the icon's identifier.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace kmrn {

class TaskTray {
 public:
  enum class Action { Add = 0, Modify = 1, Delete = 2 };

  // owner: the window brought to the front before each event (the main window).
  explicit TaskTray(HWND owner);
  ~TaskTray();
  TaskTray(const TaskTray&) = delete;
  TaskTray& operator=(const TaskTray&) = delete;

  // Hands the icon to the shell (add, modify or delete; any other action sends nothing). The tip
  // shows at most 63 bytes of the ANSI code page, never cut inside a character. Returns the
  // shell's answer, which the program does not act on.
  bool SetIcon(int action, HICON icon, const std::string& tip);

  std::uint32_t IconId() const { return id_; }
  HWND CallbackWindow() const;

  // The events, with the cursor's screen position. A handler that is set runs only while its
  // Enable flag is on; the menu opens on a right-button release whenever OnPopupMenu is set.
  std::function<void(POINT)> OnMouseDown, OnMouseUp, OnMMouseDown, OnMMouseUp, OnPopupMenu;
  bool EnableMouseDown = true, EnableMouseUp = true, EnableMMouseDown = true, EnableMMouseUp = true;

 private:
  friend class TrayCallbackWindow;
  // One message from the shell for this icon.
  void OnShellMessage(std::uint32_t mouseMessage);

  HWND owner_;
  std::uint32_t id_;
};

}  // namespace kmrn
