#include "notification_area.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <iterator>
#include <mutex>

#include "driver.h"

namespace e2e {
namespace {

// The start of the record Wine's shell sends.
struct ShellIconRecord {
  LONG window;
  UINT id;
  UINT flags;
  UINT callbackMessage;
  WCHAR tip[128];
};

}  // namespace

struct NotificationArea::Impl {
  mutable std::mutex mutex;
  std::vector<IconCall> calls;
  std::unique_ptr<WindowThread> window;

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
      self = static_cast<Impl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (message == WM_COPYDATA && self) {
      const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      IconCall call{static_cast<DWORD>(data.dwData), reinterpret_cast<HWND>(wParam)};
      if (data.cbData >= sizeof(ShellIconRecord)) {
        const auto& record = *static_cast<const ShellIconRecord*>(data.lpData);
        call.id = record.id;
        call.flags = record.flags;
        call.callbackMessage = record.callbackMessage;
        call.tip = Narrow(std::wstring(record.tip, wcsnlen(record.tip, std::size(record.tip))));
      }
      std::lock_guard lock(self->mutex);
      self->calls.push_back(std::move(call));
      return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  HWND Create() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&windowClass);  // fails harmlessly when an earlier test registered it
    return CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), this);
  }
};

NotificationArea::NotificationArea() : impl_(std::make_unique<Impl>()) {
  impl_->window = std::make_unique<WindowThread>([this] { return impl_->Create(); });
  EXPECT_TRUE(impl_->window->Handle()) << "cannot create the notification area";
}

NotificationArea::~NotificationArea() = default;

std::vector<IconCall> NotificationArea::Calls() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->calls;
}

}  // namespace e2e
