#include "framework/win/win32_error.h"

#include <windows.h>

#include <string>

#include "framework/win/text_win.h"
#include "framework/win/unique_resource.h"

namespace kmrn {

AppError LastSystemError(const char* call) { return SystemError(call, GetLastError()); }

AppError SystemError(const char* call, unsigned long code) {
  std::string reason;
  if (code != 0) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    UniqueLocalMemory owner(text);
    if (length != 0 && text) reason = SystemReason(Narrow(std::wstring_view(text, length)));
  }
  return SystemCallError(call, code, reason);
}

}  // namespace kmrn
