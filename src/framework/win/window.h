#pragma once
// A window of the program: one C++ object per HWND. The shared window procedure finds the
// object, hands it the message, and is the boundary where every exception ends in the
// standard error box; the message then counts as handled, so nothing after the failure runs.

#include <windows.h>

#include "framework/win/unique_resource.h"

namespace kmrn {

struct WindowClassSpec {
  const wchar_t* name;
  HICON icon = nullptr;
  UINT style = 0;
  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
};

class Window {
 public:
  Window() = default;
  // Destroys a window that still exists without dispatching to this half-destroyed object;
  // windows that act on WM_DESTROY call DestroyHandle() in their own destructor.
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const noexcept { return hwnd_.Get(); }

  // Whether the window is one of the program's that asked for the dialog keys.
  static bool TakesDialogKeys(HWND window) noexcept;

 protected:
  // Registers the class on first use and creates the window; from WM_NCCREATE on, the
  // window's messages reach HandleMessage.
  void CreateWindowOfClass(const WindowClassSpec& windowClass, DWORD exStyle, DWORD style, const wchar_t* caption,
                           HWND owner, RECT bounds);

  // Unpacks a message into a call of a typed handler; unhandled messages go to DefaultHandling.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  // Destroys the window now, while the object can still answer its last messages.
  void DestroyHandle() noexcept;

  // The window is gone (WM_NCDESTROY): the handle is no longer ours to destroy.
  virtual void OnHandleGone() noexcept {}

  // Keyboard navigation for the window's controls, as in a dialog, from now on.
  void UseDialogKeys() noexcept { dialogKeys_ = true; }

 private:
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  UniqueWindow hwnd_;
  bool dialogKeys_ = false;
};

}  // namespace kmrn
