// The program entry: one running copy at a time. A second start hands its file to the first
// and ends; the first creates its windows and runs the message loop.

#include <windows.h>

#include <memory>

#include "framework/win/error_box.h"
#include "framework/win/text_win.h"
#include "framework/win/unique_resource.h"
#include "shell/forwarded_file.h"
#include "shell/win/app_owner_window.h"
#include "shell/win/main_window.h"
#include "shell/win/program_win.h"

namespace kmrn {
namespace {

constexpr const char* InstanceMutexName = "KMRN_MUTEX";

// The running copy's main window gets the path by WM_COPYDATA; the call returns once it has
// been handled there. Without an argument, or without a window to send to, nothing is said.
void ForwardToRunningCopy(const ProgramContext& context) {
  HWND running = FindWindowA("KMRN_MAIN_WINDOW", "Kamerin");
  if (!running || context.arguments.empty()) return;
  std::string ansiPath = Utf8ToAnsi(Narrow(context.arguments.front()));
  std::vector<char> payload = MakeForwardedFilePayload(ansiPath);
  COPYDATASTRUCT data{CopyDataOpenFile, static_cast<DWORD>(payload.size()), payload.data()};
  SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

int Run() {
  ProgramContext context = ReadProgramContext();
  UniqueHandle running(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutexName));
  if (running) {
    ForwardToRunningCopy(context);
    return 0;
  }
  UniqueHandle instanceMutex(CreateMutexA(nullptr, FALSE, InstanceMutexName));

  std::unique_ptr<AppOwnerWindow> owner;
  std::unique_ptr<MainWindow> mainWindow;
  try {
    owner = std::make_unique<AppOwnerWindow>();
    mainWindow = std::make_unique<MainWindow>(context, owner->Handle());
    mainWindow->ShowAtStart();
  } catch (const std::exception& error) {
    ShowErrorBox(mainWindow ? mainWindow->Handle() : nullptr, error);
    if (!mainWindow) return 1;
  }
  return RunMessageLoop();
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
