#include "soak.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <type_traits>

#include "driver.h"
#include "input.h"
#include "picture/image_files.h"
#include "pictures.h"

namespace e2e {
namespace {

constexpr const wchar_t* OverlayCaption = L"FormKN_Serect";
constexpr const wchar_t* ViewerClass = L"KMRN_VIEW_WINDOW";
constexpr RECT TargetBounds{600, 300, 1000, 600};

// The modes, one capture each in turn.
enum class Mode { PrintScreen, CtrlPrintScreen, ButtonRange, ButtonSamePlace, Count };

class Soak {
 public:
  Soak() : target_(L"soak target", TargetBounds) {
    sandbox_.WriteIni("[Setting]\r\nSaveFile=" + ToAnsi(sandbox_.FolderUtf8()) +
                      "\r\nbmp=1\r\njpg=1\r\nwin=1\r\nViewWinWheelStretch=1\r\nCaptureWait=0\r\nLeft=20\r\nTop=20\r\n"
                      // Few closed viewers kept: the limit is reached in the first rounds.
                      "ClosedViewersKept=3\r\n");
    program_ = sandbox_.Start();
    main_ = WaitForMainWindow(program_);
    WaitUntil([&] { return main_ && IsWindowVisible(main_); });
    Settle(500);
  }

  const Process& Program() const { return program_; }

  // A Ctrl+PrintScreen capture of the window in front, whose viewer is then closed.
  std::string CaptureFrontWindowAndClose(HWND front) {
    const std::vector<HWND> before = ViewersOf();
    SetForegroundWindow(front);
    Settle(200);
    PressKey(VK_SNAPSHOT, true);
    HWND made = WaitForNewViewer(before, 8s);
    if (!made) return Failed(0, "Ctrl+PrintScreen gave no viewer");
    Settle(300);
    Choose(made, {'Q'});
    WaitUntil([&] { return !IsWindowVisible(made); }, 5s);
    RemoveFiles();
    return {};
  }

  // One capture in the mode, and something done with its viewer. Empty, or what went wrong.
  std::string Capture(int index) {
    const std::vector<HWND> before = ViewersOf();
    switch (static_cast<Mode>(index % static_cast<int>(Mode::Count))) {
      case Mode::PrintScreen:
        SetForegroundWindow(target_.Handle());
        Settle(100);
        PressKey(VK_SNAPSHOT);
        if (!DragOnOverlay(index)) {
          return Failed(index, "PrintScreen gave no overlay (viewers " + std::to_string(before.size()) + " -> " +
                                   std::to_string(ViewersOf().size()) + ", main " +
                                   std::to_string(IsWindowVisible(main_)) + ")");
        }
        break;
      case Mode::CtrlPrintScreen:
        SetForegroundWindow(target_.Handle());
        Settle(100);
        PressKey(VK_SNAPSHOT, true);
        break;
      case Mode::ButtonRange:
        if (!ClickCapture()) return Failed(index, "no main window");
        if (!DragOnOverlay(index)) return Failed(index, "the Capture button gave no overlay");
        break;
      case Mode::ButtonSamePlace:
        if (!ToggleSamePlace()) return Failed(index, "the main window's menu did not open");
        if (!ClickCapture()) return Failed(index, "no main window");
        break;
      case Mode::Count: break;
    }
    HWND made = WaitForNewViewer(before, 8s);
    WaitUntil([&] { return IsWindowVisible(main_) != 0; }, 8s);
    if (static_cast<Mode>(index % static_cast<int>(Mode::Count)) == Mode::ButtonSamePlace) {
      Settle(300);
      if (!ToggleSamePlace()) return Failed(index, "the main window's menu did not open");
    }
    if (!made) return Failed(index, "no viewer");
    open_.push_back(made);
    WorkWith(made, index);
    // A few stay open; the oldest goes.
    while (open_.size() > 3) {
      Choose(open_.front(), {'Q'});
      open_.pop_front();
    }
    if (index % 10 == 9) ConfirmSettings();
    if (index % 5 == 4) return PinCloseAndReopen(index);
    return {};
  }

  // A picture pinned from the clipboard, dragged out (onto a window that takes no drop), closed,
  // brought back and closed again: the closed viewers the program keeps stay within their limit.
  std::string PinCloseAndReopen(int index) {
    PutBytesOnClipboard(CF_DIB, Bmp24(160 + index % 7, 90, [](int x, int y) { return RGB(x, y, x ^ y); }).substr(14));
    for (WORD key : {'V', 'Z'}) {
      const std::vector<HWND> before = ViewersOf();
      if (!ChooseFromMenu(key)) return Failed(index, "the main window's menu did not open");
      HWND shown = WaitForNewViewer(before, 5s);
      if (!shown) return Failed(index, key == 'V' ? "nothing pinned from the clipboard" : "nothing came back");
      if (key == 'V') DragOut(shown);
      Choose(shown, {'Q'});
    }
    return {};
  }

  void RemoveFiles() const {
    for (const wchar_t* extension : {L".bmp", L".jpg"}) {
      for (const std::wstring& file : FilesIn(sandbox_.Folder(), extension)) DeleteFileW(file.c_str());
    }
  }

 private:
  std::string Failed(int index, const std::string& what) const {
    std::string text = "capture " + std::to_string(index) + ": " + what;
    for (const MessageBoxInfo& box : MessageBoxesOf(program_)) text += " [box: " + box.text + "]";
    return text;
  }

  // "前回と同じ場所をキャプチャ(&R)" in the main window's menu, on or off.
  bool ToggleSamePlace() const { return ChooseFromMenu('R'); }

  // A command of the main window's menu, by its accelerator key.
  bool ChooseFromMenu(WORD key) const {
    HWND menu = nullptr;
    // A synthetic right click now and then goes astray under Wine: tried again.
    for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
      const RECT rect = WindowRectOf(main_);
      SetForegroundWindow(main_);
      Click((rect.left + rect.right) / 2 + 60, rect.bottom - 6, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
      WaitUntil([&] { return (menu = FindVisibleWindow(program_, L"#32768")) != nullptr; }, 2s);
    }
    if (!menu) return false;
    Settle(250);
    PressKey(key);
    return WaitUntil([&] { return FindVisibleWindow(program_, L"#32768") == nullptr; }, 3s);
  }

  std::vector<HWND> ViewersOf() const { return WindowsOfProcess(program_, ViewerClass); }

  // A visible viewer that is not among those before; none when none shows in time.
  HWND WaitForNewViewer(const std::vector<HWND>& before, std::chrono::milliseconds timeout) const {
    HWND made = nullptr;
    WaitUntil(
        [&] {
          for (HWND viewer : ViewersOf()) {
            if (IsWindowVisible(viewer) && std::find(before.begin(), before.end(), viewer) == before.end()) {
              made = viewer;
            }
          }
          return made != nullptr;
        },
        timeout);
    return made;
  }

  bool ClickCapture() const {
    if (!WaitUntil([&] { return IsWindowVisible(main_) != 0; }, 5s)) return false;
    HWND button = FindChild(main_, L"Button", L"Capture");
    if (!button) return false;
    const POINT at = CentreOf(button);
    Click(at.x, at.y);
    return true;
  }

  // A rectangle of the target, a little different each time.
  bool DragOnOverlay(int index) const {
    HWND overlay = nullptr;
    if (!WaitUntil([&] { return (overlay = FindVisibleWindow(program_, nullptr, OverlayCaption)) != nullptr; }, 5s)) {
      return false;
    }
    Settle(150);
    const int shift = index % 7 * 5;
    Drag(TargetBounds.left + 20 + shift, TargetBounds.top + 20, TargetBounds.left + 220 + shift,
         TargetBounds.top + 170);
    return true;
  }

  // Opens the viewer's menu where it is and picks with the accelerator keys.
  bool Choose(HWND viewer, std::initializer_list<WORD> keys) const {
    const RECT client = ClientRectOnScreen(viewer);
    const POINT at{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    SetForegroundWindow(viewer);
    PostMessageW(viewer, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(viewer), MAKELPARAM(at.x, at.y));
    if (!WaitUntil([&] { return FindVisibleWindow(program_, L"#32768") != nullptr; }, 3s)) return false;
    Settle(100);
    for (WORD key : keys) {
      PressKey(key);
      Settle(100);
    }
    return WaitUntil([&] { return FindVisibleWindow(program_, L"#32768") == nullptr; }, 3s);
  }

  void WorkWith(HWND viewer, int index) const {
    switch (index % 4) {
      case 0: {
        const RECT client = ClientRectOnScreen(viewer);
        const int x = (client.left + client.right) / 2, y = (client.top + client.bottom) / 2;
        SendMessageW(viewer, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(x, y));
        SendMessageW(viewer, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(x, y));
        break;
      }
      case 1: Choose(viewer, {'E', 'R'}); break;  // a quarter turn
      case 2: Choose(viewer, {'S'}); break;       // saved as BMP
      case 3: Choose(viewer, {'C'}); break;       // copied
    }
  }

  static void DragOut(HWND viewer) {
    const RECT client = ClientRectOnScreen(viewer);
    const int x = (client.left + client.right) / 2, y = (client.top + client.bottom) / 2;
    HoldKey(VK_CONTROL, true);
    PressButton(x, y, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 4; ++step) {
      MovePointer(x + 40 * step, y + 10 * step);
      Settle(40);
    }
    ReleaseButton(x + 160, y + 40, MOUSEEVENTF_LEFTUP);
    HoldKey(VK_CONTROL, false);
    Settle(200);
  }

  void ConfirmSettings() const {
    HWND dialog = OpenSettingsDialog(program_, main_);
    if (!dialog) return;
    HWND ok = FindChild(dialog, L"Button", L"OK");
    if (!ok) return;
    const POINT at = CentreOf(ok);
    Click(at.x, at.y);
    WaitUntil([&] { return !IsWindowVisible(dialog); }, 5s);
  }

  PatternWindow target_;
  Sandbox sandbox_;
  Process program_;
  HWND main_ = nullptr;
  std::deque<HWND> open_;
};

}  // namespace

std::string RunSoak(int captures, int every, const std::function<void(const SoakFigures&)>& report) {
  Soak soak;
  if (!FindMainWindow(soak.Program())) return "the program did not start";
  for (int index = 0; index < captures; ++index) {
    if (std::string failure = soak.Capture(index); !failure.empty()) return failure;
    if ((index + 1) % every == 0) {
      soak.RemoveFiles();
      Settle(300);
      report({index + 1, ResourceUseOf(soak.Program().Id())});
    }
  }
  return {};
}

std::string MeasureClosedViewerCost(double& costToCapture) {
  const std::string here = __FILE__;
  const std::string screenFile = here.substr(0, here.find_last_of("/\\")) + "/../../bench/screens/text.png";
  const std::string png = ReadFileBytes(Widen(screenFile));
  if (png.empty()) return "no " + screenFile;
  // The reader gives 24 bits, rows from the bottom: a DIB section of the same layout takes them.
  const kmrn::Dib decoded = kmrn::DecodePng({reinterpret_cast<const std::uint8_t*>(png.data()), png.size()});
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, decoded.width, decoded.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  // Declared before the window that shows it, it goes after the window.
  const std::unique_ptr<std::remove_pointer_t<HBITMAP>, decltype(&DeleteObject)> picture(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), &DeleteObject);
  if (!picture || decoded.bitCount != 24) return "no bitmap for " + screenFile;
  std::memcpy(bits, decoded.bits.data(), decoded.bits.size());
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  Soak soak;
  // Over everything else, the soak's pattern included: its picture is all that is captured.
  WindowThread screen([&] {
    HWND window =
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"STATIC", L"soak screen", WS_POPUP | WS_VISIBLE | SS_BITMAP,
                        0, 0, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    return window;
  });
  // Three are kept: the first closes before the reading, and the next three push it out, so that
  // two more are held afterwards.
  if (std::string failure = soak.CaptureFrontWindowAndClose(screen.Handle()); !failure.empty()) return failure;
  Settle(1000);
  const ResourceUse before = ResourceUseOf(soak.Program().Id());
  for (int i = 0; i < 3; ++i) {
    if (std::string failure = soak.CaptureFrontWindowAndClose(screen.Handle()); !failure.empty()) return failure;
  }
  Settle(1000);
  const ResourceUse after = ResourceUseOf(soak.Program().Id());
  const double captured = 2.0 * width * height * 4;
  costToCapture = static_cast<double>(after.privateBytes - before.privateBytes) / captured;
  return {};
}

}  // namespace e2e
