#pragma once
// The invisible window that owns every top-level window of the program. It is a tool window,
// and windows it owns get no taskbar button, so the program never shows one.

#include "framework/win/window.h"

namespace kmrn {

class AppOwnerWindow final : public Window {
 public:
  AppOwnerWindow() {
    CreateWindowOfClass({L"KMRN_APP_OWNER"}, WS_EX_TOOLWINDOW, WS_POPUP, L"Kamerin", nullptr, RECT{0, 0, 0, 0});
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    return DefaultHandling(message, wParam, lParam);
  }
};

}  // namespace kmrn
