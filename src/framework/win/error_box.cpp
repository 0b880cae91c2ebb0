#include "framework/win/error_box.h"

#include "framework/app_error.h"
#include "framework/win/text_win.h"

namespace kmrn {

namespace {

// In front even when the action was started from another program (by a hotkey, say).
constexpr UINT ErrorBoxType = MB_OK | MB_ICONERROR | MB_SETFOREGROUND;

}  // namespace

void ShowErrorBox(HWND owner, const std::exception& error) noexcept {
  try {
    ShowMessageBox(owner, ErrorBoxText(error), ProgramCaption, ErrorBoxType);
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
