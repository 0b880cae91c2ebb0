#include "capture_fixture.h"

#include "input.h"

namespace e2e {
namespace {

constexpr const wchar_t* OverlayCaption = L"FormKN_Serect";
constexpr const wchar_t* ViewerClass = L"KMRN_VIEW_WINDOW";

}  // namespace

PatternWindow& CaptureTest::ShowTarget(const std::wstring& title, RECT bounds, DWORD style) {
  target_ = std::make_unique<PatternWindow>(title, bounds, style);
  return *target_;
}

bool CaptureTest::Start(const std::string& settings, const std::wstring& saveFolder) {
  const std::wstring folder = saveFolder.empty() ? sandbox_.Folder() : saveFolder;
  sandbox_.WriteIni("[Setting]\r\nSaveFile=" + ToAnsi(Narrow(folder)) + "\r\nUseHotKey=0\r\n" + settings);
  program_ = sandbox_.Start();
  main_ = WaitForMainWindow(program_);
  EXPECT_TRUE(main_) << "no main window";
  EXPECT_TRUE(WaitUntil([&] { return MainVisible(); })) << "the main window did not show";
  Settle(300);
  return main_ != nullptr;
}

void CaptureTest::StartOver() {
  program_ = Process();
  main_ = nullptr;
  target_.reset();
  sandbox_ = Sandbox();
}

HWND CaptureTest::Control(const wchar_t* className, const wchar_t* text) const {
  HWND control = FindChild(main_, className, text);
  EXPECT_TRUE(control) << "no control " << Narrow(text);
  return control;
}

void CaptureTest::ClickControl(const wchar_t* className, const wchar_t* text) const {
  HWND control = Control(className, text);
  if (!control) return;
  POINT centre = CentreOf(control);
  Click(centre.x, centre.y);
}

HWND CaptureTest::WaitForOverlay() const {
  HWND overlay = nullptr;
  WaitUntil([&] { return (overlay = FindVisibleWindow(program_, nullptr, OverlayCaption)) != nullptr; }, 5s);
  if (overlay) Settle(200);
  return overlay;
}

HWND CaptureTest::StartRangeSelection() const {
  ClickCapture();
  HWND overlay = WaitForOverlay();
  EXPECT_TRUE(overlay) << "the overlay did not appear";
  return overlay;
}

bool CaptureTest::SelectionEnded(HWND overlay) const {
  return WaitUntil([&] { return !IsWindowVisible(overlay) && MainVisible(); }, 5s);
}

std::vector<HWND> CaptureTest::VisibleViewers() const {
  std::vector<HWND> visible;
  for (HWND viewer : WindowsOfProcess(program_, ViewerClass)) {
    if (IsWindowVisible(viewer)) visible.push_back(viewer);
  }
  return visible;
}

void CaptureTest::TickSameRect() const {
  HWND capture = Control(L"Button", L"Capture");
  ASSERT_TRUE(capture);
  RECT button{};
  GetWindowRect(capture, &button);
  // Right of the check boxes, between the two panels: the window itself, not a control.
  HWND mode = Control(L"Button", L"範囲");
  ASSERT_TRUE(mode);
  RECT modeRect{};
  GetWindowRect(mode, &modeRect);
  const int x = modeRect.left - 6;
  const int y = (button.top + button.bottom) / 2;
  HWND menu = nullptr;
  for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
    Click(x, y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    WaitUntil([&] { return (menu = FindVisibleWindow(program_, L"#32768")) != nullptr; }, 3s);
  }
  ASSERT_TRUE(menu) << "the context menu did not open";
  Settle(200);
  PressKey('R');
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 3s));
  Settle(200);
}

void CaptureTest::CaptureFromList(const std::wstring& title) const {
  HWND list = Control(L"ListBox", L"");
  ASSERT_TRUE(list);
  const std::wstring item = L"[" + title + L"] [" + PatternWindow::ClassName + L"]";
  LRESULT index =
      SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
  if (index == LB_ERR) {
    // The list is a snapshot; the pattern window may have come after it.
    HWND windowMode = Control(L"Button", L"窓");
    ASSERT_TRUE(windowMode);
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(windowMode), BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(windowMode));
    index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
  }
  ASSERT_NE(index, LB_ERR) << "no item " << Narrow(item);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ClickCapture();
}

}  // namespace e2e
