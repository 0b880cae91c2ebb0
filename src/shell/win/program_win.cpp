#include "shell/win/program_win.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "framework/win/text_win.h"
#include "framework/win/unique_resource.h"
#include "settings/settings.h"

namespace kmrn {

ProgramContext ReadProgramContext() {
  ProgramContext context;
  std::wstring exePath(32768, L'\0');
  exePath.resize(GetModuleFileNameW(nullptr, exePath.data(), static_cast<DWORD>(exePath.size())));
  context.appDir = FolderOfPath(Narrow(exePath));

  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  UniqueLocalMemory argvOwner(reinterpret_cast<HLOCAL>(argv));
  for (int i = 1; argv && i < count; ++i) context.arguments.emplace_back(argv[i]);

  HDC screen = GetDC(nullptr);
  context.lowColorDisplay = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) <= 8;
  ReleaseDC(nullptr, screen);
  return context;
}

}  // namespace kmrn
