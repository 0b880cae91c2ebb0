#pragma once
// The end-to-end driver's view of Kamerin: a copy of Kamerin.exe in a folder of its own (so it
// has its own INI file), started as a real process and watched only from the outside — its
// windows, its message boxes, its files.

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// Polls until the condition holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

// The keys of one INI section in file order, with their values (raw bytes).
std::vector<std::pair<std::string, std::string>> IniSection(const std::string& text, const std::string& section);

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string caption;  // UTF-8
  std::string text;     // UTF-8
};

class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  ~Process();

  static Process Start(const std::wstring& exe, const std::vector<std::wstring>& arguments,
                       const std::wstring& currentDirectory);

  DWORD Id() const { return id_; }
  bool Running() const;
  // Waits for the end; the exit code, or nothing if it did not end in time.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = 10s) const;
  void Kill();

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// The folder of the driver itself, where the helper programs built with it lie.
std::wstring DriverFolder();

// A fresh folder holding a copy of Kamerin.exe, named after the running test.
class Sandbox {
 public:
  Sandbox();
  const std::wstring& Folder() const { return folder_; }
  std::wstring Exe() const { return folder_ + L"\\Kamerin.exe"; }
  std::wstring Ini() const { return folder_ + L"\\Kamerin.ini"; }
  std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }
  std::string FolderUtf8() const { return Narrow(folder_); }

  void WriteIni(const std::string& text) const { WriteFileBytes(Ini(), text); }
  std::string ReadIni() const { return ReadFileBytes(Ini()); }

  Process Start(const std::vector<std::wstring>& arguments = {}) const;

 private:
  std::wstring folder_;
};

// Kamerin's main window belonging to the process, or null.
HWND FindMainWindow(const Process& process);
HWND WaitForMainWindow(const Process& process, std::chrono::milliseconds timeout = 15s);

// The top-level windows of a process with this class (any class for null), visible or not.
std::vector<HWND> WindowsOfProcess(const Process& process, const wchar_t* className);
std::vector<HWND> WindowsOfProcess(DWORD processId, const wchar_t* className);
// The first visible top-level window of a process with this class (any for null) and, when
// given, this caption.
HWND FindVisibleWindow(const Process& process, const wchar_t* className, const wchar_t* caption = nullptr);
// A child window (at any depth) of this class and text, or null.
HWND FindChild(HWND parent, const wchar_t* className, const std::wstring& text);
// A window's outer rectangle, and its client area in screen coordinates.
RECT WindowRectOf(HWND window);
RECT ClientRectOnScreen(HWND window);
// A rectangle's width and height.
SIZE SizeOf(const RECT& r);
// The centre of a window on the screen.
POINT CentreOf(HWND window);

// The DPI a window is laid out for (the system's for null): 96 unscaled, 144 at 150 %.
int DpiFor(HWND window);
// Where a coordinate the program places at `design` pixels at 96 DPI lands at this DPI, rounded
// as the program rounds.
inline int AtDpi(int design, int dpi) { return MulDiv(design, dpi, 96); }
// True when a distance between two edges the program places at 96 DPI has the length it should
// at this DPI. Each edge is scaled and rounded on its own, so the distance may be one pixel either
// way of the scaled length; at 96 DPI it is exact.
bool ScaledLength(int actual, int design, int dpi);

// The visible message boxes of a process.
std::vector<MessageBoxInfo> MessageBoxesOf(const Process& process);
std::optional<MessageBoxInfo> WaitForMessageBox(const Process& process, std::chrono::milliseconds timeout = 10s);
// Presses a button of a message box (IDOK, IDYES, IDNO ...) and waits for the box to go.
void Answer(const MessageBoxInfo& box, int button);

// A window of the driver's own served by a thread of its own, so that it answers the program under
// test at once (it paints, it takes sent messages) while the test waits. create runs on that
// thread and makes the window; the window is closed and the thread ends with the object.
class WindowThread {
 public:
  explicit WindowThread(std::function<HWND()> create);
  ~WindowThread();
  WindowThread(const WindowThread&) = delete;
  WindowThread& operator=(const WindowThread&) = delete;
  HWND Handle() const { return hwnd_; }

 private:
  std::thread thread_;
  DWORD threadId_ = 0;
  HWND hwnd_ = nullptr;
};

// A hidden window of the driver's own, of a class and caption that a test chooses (a stand-in for
// another program's window), served by a WindowThread. The handler sees every message first and
// answers it, or leaves it to the default (nothing).
using StandInHandler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;
std::unique_ptr<WindowThread> StartStandInWindow(const wchar_t* className, const wchar_t* caption,
                                                 StandInHandler handler);

// Makes a file unwritable for as long as it lives. Under Wine, as root, the read-only attribute
// alone does not stop a write, so the file is also made immutable there (chattr +i).
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(std::wstring path);
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

 private:
  std::wstring path_;
};

// Makes a folder refuse new files for as long as it lives (immutable under Wine as root, as
// ReadOnlyFile does for a file).
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::wstring path);
  ~ReadOnlyFolder();
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

 private:
  std::wstring path_;
};

// A system-wide hotkey the driver holds for as long as the object lives, as another program would.
// Wine keeps a hotkey without a window with the thread's message queue, which the thread gets
// here first: registered before the thread has one, the hotkey could never be removed again.
class HeldHotKey {
 public:
  HeldHotKey(UINT modifiers, UINT key);
  ~HeldHotKey();
  HeldHotKey(const HeldHotKey&) = delete;
  HeldHotKey& operator=(const HeldHotKey&) = delete;
  // False when another program holds the key.
  bool Held() const { return held_; }

 private:
  int id_;
  bool held_;
};

// Opens the main window's context menu and picks an item by its accelerator key.
void ChooseFromMainMenu(HWND main, WORD acceleratorKey);
// Opens the settings dialog from the main window's menu; its window, or null.
HWND OpenSettingsDialog(const Process& program, HWND main);

// The ANSI code page text of a path for INI values written by tests.
std::string ToAnsi(const std::string& utf8);

}  // namespace e2e
