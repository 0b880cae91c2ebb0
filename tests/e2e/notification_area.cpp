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

  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return std::nullopt;
    const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    IconCall call{.action = static_cast<DWORD>(data.dwData), .callback = reinterpret_cast<HWND>(wParam)};
    if (data.cbData >= sizeof(ShellIconRecord)) {
      const auto& record = *static_cast<const ShellIconRecord*>(data.lpData);
      call.id = record.id;
      call.flags = record.flags;
      call.callbackMessage = record.callbackMessage;
      call.tip = Narrow(std::wstring(record.tip, wcsnlen(record.tip, std::size(record.tip))));
    }
    std::lock_guard lock(mutex);
    calls.push_back(std::move(call));
    return TRUE;
  }
};

NotificationArea::NotificationArea() : impl_(std::make_unique<Impl>()) {
  impl_->window = StartStandInWindow(L"Shell_TrayWnd", L"", [this](UINT message, WPARAM wParam, LPARAM lParam) {
    return impl_->OnMessage(message, wParam, lParam);
  });
  EXPECT_TRUE(impl_->window->Handle()) << "cannot create the notification area";
}

NotificationArea::~NotificationArea() = default;

std::vector<IconCall> NotificationArea::Calls() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->calls;
}

}  // namespace e2e
