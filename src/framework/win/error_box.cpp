#include "framework/win/error_box.h"

#include <new>

#include "framework/app_error.h"
#include "framework/win/text_win.h"

namespace kmrn {

namespace {

// The program's own errors speak for themselves; others come from the runtime, in English.
std::string TextOf(const std::exception& error) {
  if (dynamic_cast<const AppError*>(&error)) return error.what();
  if (dynamic_cast<const std::bad_alloc*>(&error)) return "メモリが足りません";
  return std::string("予期しないエラーが起きました (") + error.what() + ")";
}

}  // namespace

void ShowErrorBox(HWND owner, const std::exception& error) noexcept {
  try {
    ShowMessageBox(owner, TextOf(error), ProgramCaption, MB_OK | MB_ICONERROR);
  } catch (...) {
    // Without memory for the text, a fixed one.
    MessageBoxW(owner, L"エラーが起きました", L"Kamerin", MB_OK | MB_ICONERROR);
  }
}

void ShowUnknownErrorBox(HWND owner) noexcept {
  MessageBoxW(owner, L"予期しないエラーが起きました", L"Kamerin", MB_OK | MB_ICONERROR);
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), type);
}

}  // namespace kmrn
