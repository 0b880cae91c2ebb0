#include "unix_side.h"

#include <windows.h>

#include "driver.h"

namespace e2e {

std::optional<std::string> UnixPathUnderWine(const std::wstring& path) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return {};
  char* name = unixName(path.c_str());
  if (!name) return {};
  std::string result(name);
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

void RunUnixCommand(const std::string& commandLine) {
  std::wstring command = Widen(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
}

bool TakeScreenshot(const std::wstring& pngPath, std::chrono::milliseconds timeout) {
  auto unixPath = UnixPathUnderWine(pngPath);
  if (!unixPath) return false;
  DeleteFileW(pngPath.c_str());
  // import writes the file in one go at its end; a temporary name then a rename keeps a
  // half-written PNG from being taken for a finished one.
  RunUnixCommand("/bin/sh -c \"import -window root '" + *unixPath + ".part.png' && mv '" + *unixPath + ".part.png' '" +
                 *unixPath + "'\"");
  return WaitUntil([&] { return FileExists(pngPath); }, timeout);
}

}  // namespace e2e
