#include "framework/win/error_box.h"

#include "framework/win/text_win.h"

namespace kmrn {

void ShowErrorBox(HWND owner, const std::exception& error) noexcept {
  try {
    ShowMessageBox(owner, error.what(), ProgramCaption, MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(owner, L"Error", L"Kamerin", MB_OK | MB_ICONERROR);
  }
}

void ShowUnknownErrorBox(HWND owner) noexcept {
  MessageBoxW(owner, L"Unknown error", L"Kamerin", MB_OK | MB_ICONERROR);
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), type);
}

}  // namespace kmrn
