#include "framework/win/window.h"

#include "framework/win/error_box.h"
#include "framework/win/geometry_win.h"
#include "framework/win/win32_error.h"

namespace kmrn {

void Window::CreateWindowOfClass(const WindowClassSpec& spec, DWORD exStyle, DWORD style, const wchar_t* caption,
                                 HWND owner, RECT bounds) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, spec.name, &existing)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = spec.style;
    windowClass.lpfnWndProc = &Window::WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = spec.icon;
    windowClass.hIconSm = spec.icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = spec.background;
    windowClass.lpszClassName = spec.name;
    if (!RegisterClassExW(&windowClass)) ThrowLastSystemError("RegisterClassExW");
  }
  const PixelSize size = SizeOf(bounds);
  HWND hwnd = CreateWindowExW(exStyle, spec.name, caption, style, bounds.left, bounds.top, size.width, size.height,
                              owner, nullptr, instance, this);
  if (!hwnd) ThrowLastSystemError("CreateWindowExW");
}

Window::~Window() {
  if (hwnd_) SetWindowLongPtrW(hwnd_.Get(), GWLP_USERDATA, 0);
}

void Window::DestroyHandle() noexcept {
  // WM_NCDESTROY lets go of the handle once the window has answered its last messages.
  if (hwnd_) DestroyWindow(hwnd_.Get());
}

bool Window::TakesDialogKeys(HWND window) noexcept {
  // Only a window of ours keeps its object in the user data.
  if (!window || static_cast<ULONG_PTR>(GetClassLongPtrW(window, GCLP_WNDPROC)) !=
                     reinterpret_cast<ULONG_PTR>(&Window::WindowProcedure)) {
    return false;
  }
  const auto* object = reinterpret_cast<const Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return object && object->dialogKeys_;
}

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefWindowProcW(hwnd_.Get(), message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->hwnd_.Reset(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->hwnd_.Release();
    window->OnHandleGone();
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    return window->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    ShowErrorBox(hwnd, error);
  } catch (...) {
    ShowUnknownErrorBox(hwnd);
  }
  // The failed action stops here: its default (closing the window, say) must not run either.
  return 0;
}

}  // namespace kmrn
