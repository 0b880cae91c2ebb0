#include "driver.h"

#include "input.h"
#include "unix_side.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace e2e {
namespace {

// The program is per-monitor DPI aware and works in screen pixels; the driver must see the same
// pixels, or on a scaled display every rectangle, metric and pointer position it handles would be
// scaled to 96 DPI for it. Set before any window is made.
[[maybe_unused]] const bool dpiAware = SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != 0;

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string ToAnsi(const std::string& utf8) {
  std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string data;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
  CloseHandle(file);
  return data;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << Narrow(path);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::pair<std::string, std::string>> IniSection(const std::string& text, const std::string& section) {
  std::vector<std::pair<std::string, std::string>> keys;
  bool inside = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inside = line == "[" + section + "]";
      continue;
    }
    size_t equals = line.find('=');
    if (inside && equals != std::string::npos && !line.empty() && line[0] != ';') {
      keys.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
  }
  return keys;
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    handle_ = std::exchange(other.handle_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

Process::~Process() { Kill(); }

Process Process::Start(const std::wstring& exe, const std::vector<std::wstring>& arguments,
                       const std::wstring& currentDirectory) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  for (const std::wstring& argument : arguments) commandLine += L" \"" + argument + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  Process process;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDirectory.c_str(),
                      &startup, &info)) {
    ADD_FAILURE() << "cannot start " << Narrow(exe) << " error " << GetLastError();
    return process;
  }
  CloseHandle(info.hThread);
  process.handle_ = info.hProcess;
  process.id_ = info.dwProcessId;
  return process;
}

bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::WaitForExit(std::chrono::milliseconds timeout) const {
  if (!handle_ || WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return {};
  DWORD code = 0;
  GetExitCodeProcess(handle_, &code);
  return code;
}

void Process::Kill() {
  if (!handle_) return;
  if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(handle_, 99);
    WaitForSingleObject(handle_, 10000);
  }
  CloseHandle(handle_);
  handle_ = nullptr;
}

std::wstring DriverFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

namespace {

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

Sandbox::Sandbox() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::wstring root = DriverFolder() + L"\\e2e-work";
  CreateDirectoryW(root.c_str(), nullptr);
  folder_ = root + L"\\" + Widen(std::string(test->test_suite_name()) + "." + test->name());
  RemoveTree(folder_);
  CreateDirectoryW(folder_.c_str(), nullptr);
  std::wstring program = DriverFolder() + L"\\..\\Kamerin.exe";
  if (!CopyFileW(program.c_str(), Exe().c_str(), FALSE)) ADD_FAILURE() << "cannot copy " << Narrow(program);
}

Process Sandbox::Start(const std::vector<std::wstring>& arguments) const {
  return Process::Start(Exe(), arguments, folder_);
}

namespace {

struct FindContext {
  DWORD processId;
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowsOfProcess(HWND hwnd, LPARAM lParam) {
  auto* context = reinterpret_cast<FindContext*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t className[256] = {};
  GetClassNameW(hwnd, className, 256);
  if (owner == context->processId && (!context->className || wcscmp(className, context->className) == 0)) {
    context->found.push_back(hwnd);
  }
  return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className) {
  FindContext context{processId, className, {}};
  EnumWindows(CollectWindowsOfProcess, reinterpret_cast<LPARAM>(&context));
  return context.found;
}

std::string WindowText(HWND hwnd) {
  wchar_t text[4096] = {};
  GetWindowTextW(hwnd, text, 4096);
  return Narrow(text);
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM lParam) {
  wchar_t className[64] = {};
  GetClassNameW(child, className, 64);
  if (_wcsicmp(className, L"Static") == 0) {
    std::string text = WindowText(child);
    if (!text.empty()) *reinterpret_cast<std::string*>(lParam) += text;
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> WindowsOfProcess(const Process& process, const wchar_t* className) {
  return TopLevelWindows(process.Id(), className);
}

std::vector<HWND> WindowsOfProcess(DWORD processId, const wchar_t* className) {
  return TopLevelWindows(processId, className);
}

HWND FindVisibleWindow(const Process& process, const wchar_t* className, const wchar_t* caption) {
  for (HWND hwnd : TopLevelWindows(process.Id(), className)) {
    if (IsWindowVisible(hwnd) && (!caption || WindowText(hwnd) == Narrow(caption))) return hwnd;
  }
  return nullptr;
}

namespace {

struct ChildQuery {
  const wchar_t* className;
  const std::wstring* text;
  HWND found;
};

BOOL CALLBACK FindChildOf(HWND child, LPARAM lParam) {
  auto* query = reinterpret_cast<ChildQuery*>(lParam);
  wchar_t className[64] = {};
  GetClassNameW(child, className, 64);
  wchar_t text[256] = {};
  GetWindowTextW(child, text, 256);
  if (_wcsicmp(className, query->className) == 0 && *query->text == text) {
    query->found = child;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindChild(HWND parent, const wchar_t* className, const std::wstring& text) {
  ChildQuery query{className, &text, nullptr};
  EnumChildWindows(parent, FindChildOf, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT ClientRectOnScreen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE SizeOf(const RECT& r) { return SIZE{r.right - r.left, r.bottom - r.top}; }

POINT CentreOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND FindMainWindow(const Process& process) {
  for (HWND hwnd : TopLevelWindows(process.Id(), L"KMRN_MAIN_WINDOW")) {
    if (WindowText(hwnd) == "Kamerin") return hwnd;
  }
  return nullptr;
}

HWND WaitForMainWindow(const Process& process, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindMainWindow(process)) != nullptr; }, timeout);
  return found;
}

std::vector<MessageBoxInfo> MessageBoxesOf(const Process& process) {
  std::vector<MessageBoxInfo> boxes;
  for (HWND hwnd : TopLevelWindows(process.Id(), L"#32770")) {
    if (!IsWindowVisible(hwnd)) continue;
    MessageBoxInfo box{hwnd, WindowText(hwnd), {}};
    EnumChildWindows(hwnd, CollectStaticText, reinterpret_cast<LPARAM>(&box.text));
    boxes.push_back(box);
  }
  return boxes;
}

std::optional<MessageBoxInfo> WaitForMessageBox(const Process& process, std::chrono::milliseconds timeout) {
  std::optional<MessageBoxInfo> box;
  WaitUntil(
      [&] {
        auto boxes = MessageBoxesOf(process);
        if (!boxes.empty()) box = boxes.front();
        return box.has_value();
      },
      timeout);
  return box;
}

void Answer(const MessageBoxInfo& box, int button) {
  PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }))
      << "message box did not close: " << box.text;
}

namespace {

bool Writable(const std::wstring& path) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

int DpiFor(HWND window) { return static_cast<int>(window ? GetDpiForWindow(window) : GetDpiForSystem()); }

bool ScaledLength(int actual, int design, int dpi) {
  const int slack = dpi == 96 ? 0 : 1;
  return std::abs(actual - MulDiv(design, dpi, 96)) <= slack;
}

ReadOnlyFile::ReadOnlyFile(std::wstring path) : path_(std::move(path)) {
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY);
  if (auto unixPath = UnixPathUnderWine(path_)) RunUnixCommand("/usr/bin/chattr +i \"" + *unixPath + "\"");
  EXPECT_TRUE(WaitUntil([&] { return !Writable(path_); }, 5s)) << "cannot make " << Narrow(path_) << " read-only";
}

ReadOnlyFile::~ReadOnlyFile() {
  if (auto unixPath = UnixPathUnderWine(path_)) RunUnixCommand("/usr/bin/chattr -i \"" + *unixPath + "\"");
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  WaitUntil([&] { return Writable(path_); }, 5s);
}

namespace {

// True when a new file can be made in the folder (the probe is removed again).
bool AcceptsNewFiles(const std::wstring& folder) {
  const std::wstring probe = folder + L"\\probe.tmp";
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  DeleteFileW(probe.c_str());
  return true;
}

// Runs chattr on a folder and waits until it has finished: a folder turned immutable between a
// probe's creation and its removal would keep the probe.
void ChattrAndWait(const std::wstring& folder, const std::string& unixFolder, const char* change) {
  const std::wstring done = folder + L".chattr-done";
  DeleteFileW(done.c_str());
  RunUnixCommand("/bin/sh -c \"/usr/bin/chattr " + std::string(change) + " '" + unixFolder + "'; touch '" + unixFolder +
                 ".chattr-done'\"");
  EXPECT_TRUE(WaitUntil([&] { return FileExists(done); }, 5s)) << "chattr " << change << " did not finish";
  DeleteFileW(done.c_str());
}

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(std::wstring path) : path_(std::move(path)) {
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
  if (auto unixPath = UnixPathUnderWine(path_)) ChattrAndWait(path_, *unixPath, "+i");
  EXPECT_TRUE(WaitUntil([&] { return !AcceptsNewFiles(path_); }, 5s))
      << "cannot make " << Narrow(path_) << " read-only";
}

ReadOnlyFolder::~ReadOnlyFolder() {
  if (auto unixPath = UnixPathUnderWine(path_)) ChattrAndWait(path_, *unixPath, "-i");
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_DIRECTORY);
  WaitUntil([&] { return AcceptsNewFiles(path_); }, 5s);
}

WindowThread::WindowThread(std::function<HWND()> create) {
  std::mutex mutex;
  std::condition_variable ready;
  bool created = false;
  thread_ = std::thread([&, create = std::move(create)] {
    HWND window = create();
    {
      // Notified under the lock: the waiting constructor, and with it these locals, may be gone
      // the moment the lock is free.
      std::lock_guard lock(mutex);
      hwnd_ = window;
      threadId_ = GetCurrentThreadId();
      created = true;
      ready.notify_all();
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  });
  std::unique_lock lock(mutex);
  ready.wait(lock, [&] { return created; });
}

WindowThread::~WindowThread() {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

namespace {

LRESULT CALLBACK StandInProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  if (auto* handler = reinterpret_cast<StandInHandler*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
    if (std::optional<LRESULT> answer = (*handler)(message, wParam, lParam)) return *answer;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

std::unique_ptr<WindowThread> StartStandInWindow(const wchar_t* className, const wchar_t* caption,
                                                 StandInHandler handler) {
  // The handler lives with the thread's function, which lives until the window has gone.
  auto owned = std::make_shared<StandInHandler>(std::move(handler));
  return std::make_unique<WindowThread>([className, caption, owned] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = StandInProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);  // fails harmlessly when an earlier test registered it
    return CreateWindowExW(WS_EX_TOOLWINDOW, className, caption, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), owned.get());
  });
}

HeldHotKey::HeldHotKey(UINT modifiers, UINT key) {
  static int lastId = 0;
  id_ = ++lastId;
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  held_ = RegisterHotKey(nullptr, id_, modifiers, key) != FALSE;
}

HeldHotKey::~HeldHotKey() {
  if (held_) {
    EXPECT_TRUE(UnregisterHotKey(nullptr, id_)) << "the driver's hotkey stays";
  }
}

// Opens the main window's context menu and picks an item by its accelerator key.
void ChooseFromMainMenu(HWND main, WORD acceleratorKey) {
  RECT rect = WindowRectOf(main);
  // On the panel between the controls, where the main window's own menu opens.
  POINT panel{rect.left + (rect.right - rect.left) / 2 + 60, rect.bottom - 6};
  SetForegroundWindow(main);
  Click(panel.x, panel.y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  Settle(300);
  PressKey(acceleratorKey);
  Settle(300);
}

HWND OpenSettingsDialog(const Process& program, HWND main) {
  HWND dialog = nullptr;
  // A synthetic right click now and then goes astray under Wine: tried again.
  for (int attempt = 0; attempt < 3 && !dialog; ++attempt) {
    ChooseFromMainMenu(main, 'S');
    WaitUntil([&] { return (dialog = FindVisibleWindow(program, L"KMRN_SETTINGS")) != nullptr; }, 3s);
  }
  if (dialog) Settle(300);
  return dialog;
}

}  // namespace e2e
