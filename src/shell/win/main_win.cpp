// The program entry: one running copy at a time. A second start hands its file to the first
// and ends; the first makes the program object and runs it.

#include <windows.h>

#include <memory>

#include "framework/win/error_box.h"
#include "framework/win/text_win.h"
#include "framework/win/unique_resource.h"
#include "shell/forwarded_file.h"
#include "shell/program_identity.h"
#include "shell/win/program.h"
#include "shell/win/program_win.h"

namespace kmrn {
namespace {

// The running copy's main window gets the path by WM_COPYDATA; the call returns once it has
// been handled there. Without an argument, or without a window to send to, nothing is said.
// The path is absolute already: the running copy's current folder is not this one's.
void ForwardToRunningCopy(const ProgramContext& context) {
  HWND running = FindWindowA(MainWindowClass, MainWindowCaption);
  if (!running || context.arguments.empty()) return;
  std::string ansiPath = Utf8ToAnsi(Narrow(context.arguments.front()));
  std::vector<char> payload = MakeForwardedFilePayload(ansiPath);
  COPYDATASTRUCT data{CopyDataOpenFile, static_cast<DWORD>(payload.size()), payload.data()};
  SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

int Run() {
  ProgramContext context = ReadProgramContext();
  UniqueHandle running(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutexName));
  if (running) {
    ForwardToRunningCopy(context);
    return 0;
  }
  UniqueHandle instanceMutex(CreateMutexA(nullptr, FALSE, InstanceMutexName));

  std::unique_ptr<Program> program;
  try {
    program = std::make_unique<Program>(std::move(context));
  } catch (const std::exception& error) {
    ShowErrorBox(nullptr, error);
    return 1;
  }
  return program->Run();
}

}  // namespace
}  // namespace kmrn

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    return kmrn::Run();
  } catch (const std::exception& error) {
    kmrn::ShowErrorBox(nullptr, error);
  } catch (...) {
    kmrn::ShowUnknownErrorBox(nullptr);
  }
  return 1;
}
