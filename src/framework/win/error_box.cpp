#include "framework/win/error_box.h"

#include <new>

#include "framework/app_error.h"
#include "framework/win/text_win.h"

namespace kmrn {

namespace {

// In front even when the action was started from another program (by a hotkey, say).
constexpr UINT ErrorBoxType = MB_OK | MB_ICONERROR | MB_SETFOREGROUND;

// The program's own errors speak for themselves; others come from the runtime, in English.
std::string TextOf(const std::exception& error) {
  if (dynamic_cast<const AppError*>(&error)) return error.what();
  if (dynamic_cast<const std::bad_alloc*>(&error)) return "メモリが足りません";
  return std::string("予期しないエラーが起きました (") + error.what() + ")";
}

}  // namespace

void ShowErrorBox(HWND owner, const std::exception& error) noexcept {
  try {
    ShowMessageBox(owner, TextOf(error), ProgramCaption, ErrorBoxType);
  } catch (...) {
    // Without memory for the text, a fixed one.
    MessageBoxW(owner, L"エラーが起きました", L"Kamerin", ErrorBoxType);
  }
}

void ShowUnknownErrorBox(HWND owner) noexcept {
  MessageBoxW(owner, L"予期しないエラーが起きました", L"Kamerin", ErrorBoxType);
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), type);
}

}  // namespace kmrn
