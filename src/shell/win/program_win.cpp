#include "shell/win/program_win.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "framework/win/bitmap_win.h"
#include "framework/win/text_win.h"
#include "framework/win/unique_resource.h"
#include "settings/settings.h"

namespace kmrn {
namespace {

// A path as it names a file from this process's current folder, made absolute so that it names
// the same file in any other process.
std::wstring AbsolutePath(const std::wstring& path) {
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return path;
  full.resize(written);
  return full;
}

}  // namespace

ProgramContext ReadProgramContext() {
  ProgramContext context;
  std::wstring exePath(32768, L'\0');
  exePath.resize(GetModuleFileNameW(nullptr, exePath.data(), static_cast<DWORD>(exePath.size())));
  context.appDir = FolderOfPath(Narrow(exePath));

  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  UniqueLocalMemory argvOwner(reinterpret_cast<HLOCAL>(argv));
  for (int i = 1; argv && i < count; ++i) context.arguments.push_back(AbsolutePath(argv[i]));

  context.lowColorDisplay = DisplayDepth() <= 8;
  return context;
}

}  // namespace kmrn
