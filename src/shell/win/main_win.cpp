// The program entry: one running copy at a time. A second start hands its file to the first
// and ends; the first makes the program object and runs it.

#include <windows.h>

#include <memory>

#include "framework/app_error.h"
#include "framework/win/error_box.h"
#include "framework/win/text_win.h"
#include "framework/win/unique_resource.h"
#include "shell/forwarded_file.h"
#include "shell/program_identity.h"
#include "shell/win/program.h"
#include "shell/win/program_win.h"

namespace kmrn {
namespace {

// Hands the path to the running copy's main window by WM_COPYDATA; the call returns once it has
// been handled there. The path is absolute already: the running copy's current folder is not this
// one's. True when the running copy took it.
bool ForwardToRunningCopy(HWND running, const std::wstring& path) {
  const std::string utf8 = Narrow(path);
  const std::string ansi = Utf8ToAnsi(utf8);
  ForwardedFileMessage message =
      ForwardedFileMessageFor(std::u16string(path.begin(), path.end()), utf8, ansi, AnsiToUtf8(ansi));
  COPYDATASTRUCT data{message.tag, static_cast<DWORD>(message.payload.size()), message.payload.data()};
  return SendMessageW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) != 0;
}

// What the start found: the single-instance lock as its own (this is the first copy), or another
// copy running.
enum class StartRole { First, Second };

// Takes the lock when no copy holds it. Two starts at once cannot both take it: the one that finds
// it made already counts as the second.
StartRole TakeInstanceLock(UniqueHandle& lock) {
  UniqueHandle running(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutexName));
  if (running) return StartRole::Second;
  lock.Reset(CreateMutexA(nullptr, FALSE, InstanceMutexName));
  if (lock && GetLastError() == ERROR_ALREADY_EXISTS) {
    lock.Reset();
    return StartRole::Second;
  }
  return StartRole::First;
}

int Run() {
  ProgramContext context = ReadProgramContext();
  UniqueHandle instanceMutex;
  const DWORD started = GetTickCount();
  while (TakeInstanceLock(instanceMutex) == StartRole::Second) {
    // The running copy's window may not be made yet, or not yet take files.
    const bool hasFile = !context.arguments.empty();
    HWND running = hasFile ? FindWindowA(MainWindowClass, MainWindowCaption) : nullptr;
    const bool handedOver = running && ForwardToRunningCopy(running, context.arguments.front());
    switch (NextSecondStartStep(hasFile, handedOver, GetTickCount() - started)) {
      case SecondStartStep::End: return 0;
      case SecondStartStep::ReportNotTaken:
        ShowErrorBox(nullptr, ForwardFileError(Narrow(context.arguments.front())));
        return 1;
      case SecondStartStep::WaitAgain: Sleep(RunningCopyPollMs); break;
    }
  }

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
