#include "notification_area.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace e2e {

struct NotificationArea::Impl {
  std::thread thread;
  mutable std::mutex mutex;
  std::condition_variable ready;
  HWND hwnd = nullptr;
  bool created = false;
  std::vector<IconCall> calls;

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
      self = static_cast<Impl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (message == WM_COPYDATA && self) {
      const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      std::lock_guard lock(self->mutex);
      self->calls.push_back({static_cast<DWORD>(data.dwData), reinterpret_cast<HWND>(wParam)});
      return TRUE;
    }
    if (message == WM_CLOSE) {
      DestroyWindow(hwnd);
      return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  void Run() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&windowClass);  // fails harmlessly when an earlier test registered it
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), this);
    {
      std::lock_guard lock(mutex);
      hwnd = window;
      created = true;
    }
    ready.notify_all();
    if (!window) return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  }
};

NotificationArea::NotificationArea() : impl_(std::make_unique<Impl>()) {
  impl_->thread = std::thread([this] { impl_->Run(); });
  std::unique_lock lock(impl_->mutex);
  impl_->ready.wait(lock, [this] { return impl_->created; });
  EXPECT_TRUE(impl_->hwnd) << "cannot create the notification area";
}

NotificationArea::~NotificationArea() {
  if (impl_->hwnd) PostMessageW(impl_->hwnd, WM_CLOSE, 0, 0);
  impl_->thread.join();
}

std::vector<IconCall> NotificationArea::Calls() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->calls;
}

}  // namespace e2e
