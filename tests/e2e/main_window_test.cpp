// The main window as the user works it: the two modes, always on top, and the ways out.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "driver.h"
#include "input.h"
#include "pictures.h"

namespace e2e {
namespace {

int ClientHeight(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client.bottom;
}

// A 2 x 2 picture to open in a viewer.
void WriteSmallBmp(const std::wstring& path) {
  WriteFileBytes(path, Bmp24(2, 2, [](int x, int y) { return x == y ? RGB(255, 0, 0) : RGB(0, 0, 255); }));
}

bool TopMost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// A started program with its main window shown.
struct Running {
  Process process;
  HWND main = nullptr;
};

Running StartShown(const Sandbox& sandbox, const std::vector<std::wstring>& arguments = {}) {
  Running running{sandbox.Start(arguments), nullptr};
  running.main = WaitForMainWindow(running.process);
  EXPECT_TRUE(running.main);
  EXPECT_TRUE(WaitUntil([&] { return running.main && IsWindowVisible(running.main); }));
  return running;
}

void ClickControl(HWND main, const wchar_t* className, const wchar_t* text) {
  HWND control = FindChild(main, className, text);
  ASSERT_TRUE(control) << Narrow(text);
  POINT centre = CentreOf(control);
  Click(centre.x, centre.y);
  Settle();
}

TEST(MainWindowModes, WindowModeShowsTheListAndGrowsUpwardWhenDockedAtTheBottom) {
  Sandbox sandbox;
  // Docked: the range-mode window ends exactly on the work area's bottom.
  const int dpi = DpiFor(nullptr);
  const int rangeOuterHeight = AtDpi(36, dpi) + GetSystemMetricsForDpi(SM_CYCAPTION, static_cast<UINT>(dpi)) +
                               2 * GetSystemMetricsForDpi(SM_CYFIXEDFRAME, static_cast<UINT>(dpi));
  const int top = WorkArea().bottom - rangeOuterHeight;
  sandbox.WriteIni("[Setting]\r\nLeft=300\r\nTop=" + std::to_string(top) + "\r\n");
  Running program = StartShown(sandbox);
  ASSERT_TRUE(program.main);
  ASSERT_EQ(WindowRectOf(program.main).bottom, WorkArea().bottom) << "precondition: docked at the bottom";

  ClickControl(program.main, L"BUTTON", L"窓");
  EXPECT_EQ(ClientHeight(program.main), AtDpi(193, dpi));
  EXPECT_EQ(WindowRectOf(program.main).bottom, WorkArea().bottom) << "grew upward";
  HWND list = FindChild(program.main, L"LISTBOX", L"");
  ASSERT_TRUE(list);
  EXPECT_GE(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);

  ClickControl(program.main, L"BUTTON", L"範囲");
  EXPECT_EQ(ClientHeight(program.main), AtDpi(36, dpi));
  EXPECT_EQ(WindowRectOf(program.main).bottom, WorkArea().bottom) << "shrank downward";
}

TEST(MainWindowModes, AWindowInTheMiddleKeepsItsTop) {
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nLeft=300\r\nTop=300\r\n");
  Running program = StartShown(sandbox);
  ASSERT_TRUE(program.main);
  ClickControl(program.main, L"BUTTON", L"窓");
  EXPECT_EQ(WindowRectOf(program.main).top, 300);
  ClickControl(program.main, L"BUTTON", L"範囲");
  EXPECT_EQ(WindowRectOf(program.main).top, 300);
}

TEST(MainWindowModes, WindowModeFromTheStartMovesUpOutOfTheWayOfTheWorkAreaBottom) {
  Sandbox low;
  low.WriteIni("[Setting]\r\nLeft=300\r\nTop=" + std::to_string(WorkArea().bottom - 60) + "\r\nrange=0\r\n");
  Running lowProgram = StartShown(low);
  ASSERT_TRUE(lowProgram.main);
  EXPECT_EQ(ClientHeight(lowProgram.main), AtDpi(193, DpiFor(lowProgram.main)));
  EXPECT_EQ(WindowRectOf(lowProgram.main).bottom, WorkArea().bottom);
}

// A visible window of the driver's own, to be found in the window list.
class ListedWindow {
 public:
  explicit ListedWindow(const std::wstring& title = L"リスト probe") {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KamerinListProbe";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, L"KamerinListProbe", title.c_str(), WS_POPUP | WS_VISIBLE, 50, 60, 120, 80, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~ListedWindow() { DestroyWindow(window_); }
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(Narrow(text));
  }
  return items;
}

TEST(MainWindowList, ListsVisibleWindowsAndRefreshesOnlyWhenAsked) {
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nLeft=300\r\nTop=300\r\n");
  Running program = StartShown(sandbox);
  ASSERT_TRUE(program.main);
  HWND list = FindChild(program.main, L"LISTBOX", L"");
  ASSERT_TRUE(list);
  {
    ListedWindow probe;
    // A title shows as far as 99 bytes of the ANSI code page take it: 49 Japanese characters.
    const std::wstring longTitle(60, L'長');
    ListedWindow longProbe(longTitle);
    ClickControl(program.main, L"BUTTON", L"窓");
    std::vector<std::string> items = ListItems(list);
    EXPECT_NE(std::find(items.begin(), items.end(), "[リスト probe] [KamerinListProbe]"), items.end());
    const std::string cut = Narrow(L"[" + longTitle.substr(0, 49) + L"] [KamerinListProbe]");
    EXPECT_NE(std::find(items.begin(), items.end(), cut), items.end());
    for (const std::string& item : items) EXPECT_EQ(item.find("[Kamerin] [KMRN_MAIN_WINDOW]"), std::string::npos);
  }
  // The list is a snapshot: a window gone since stays listed until the list is refreshed.
  std::vector<std::string> stale = ListItems(list);
  EXPECT_NE(std::find(stale.begin(), stale.end(), "[リスト probe] [KamerinListProbe]"), stale.end());
  HWND windowButton = FindChild(program.main, L"BUTTON", L"窓");
  POINT centre = CentreOf(windowButton);
  DoubleClick(centre.x, centre.y);
  Settle();
  std::vector<std::string> fresh = ListItems(list);
  EXPECT_EQ(std::find(fresh.begin(), fresh.end(), "[リスト probe] [KamerinListProbe]"), fresh.end());
}

TEST(MainWindowMenu, AlwaysOnTopMovesTheMainWindowAndItsViewersTogether) {
  Sandbox sandbox;
  WriteSmallBmp(sandbox.Path(L"small.bmp"));
  Running program = StartShown(sandbox, {sandbox.Path(L"small.bmp")});
  ASSERT_TRUE(program.main);
  HWND viewer = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (viewer = FindVisibleWindow(program.process, L"KMRN_VIEW_WINDOW")) != nullptr; }));
  EXPECT_TRUE(TopMost(program.main));
  EXPECT_TRUE(TopMost(viewer));

  ChooseFromMainMenu(program.main, 'A');
  EXPECT_TRUE(WaitUntil([&] { return !TopMost(program.main); }, 3s));
  EXPECT_FALSE(TopMost(viewer));

  ChooseFromMainMenu(program.main, 'A');
  EXPECT_TRUE(WaitUntil([&] { return TopMost(program.main); }, 3s));
  EXPECT_TRUE(TopMost(viewer));
}

TEST(MainWindowMenu, ExitWithoutViewersSavesEveryKeyAndEnds) {
  Sandbox sandbox;  // no settings file: the first save creates it in table order
  Running program = StartShown(sandbox);
  ASSERT_TRUE(program.main);
  ChooseFromMainMenu(program.main, 'E');
  EXPECT_EQ(program.process.WaitForExit(), std::optional<DWORD>(0));
  auto keys = IniSection(sandbox.ReadIni(), "Setting");
  ASSERT_EQ(keys.size(), 49u);
  EXPECT_EQ(keys.front().first, "Left");
  EXPECT_EQ(keys.back().first, "MainWindowVisible");
}

TEST(MainWindowMenu, ExitWithOpenViewersAsksFirst) {
  Sandbox sandbox;
  WriteSmallBmp(sandbox.Path(L"small.bmp"));
  Running program = StartShown(sandbox, {sandbox.Path(L"small.bmp")});
  ASSERT_TRUE(program.main);
  ASSERT_TRUE(WaitUntil([&] { return FindVisibleWindow(program.process, L"KMRN_VIEW_WINDOW") != nullptr; }));

  ChooseFromMainMenu(program.main, 'E');
  auto question = WaitForMessageBox(program.process);
  ASSERT_TRUE(question);
  EXPECT_EQ(question->caption, "Kamerin");
  EXPECT_EQ(question->text, "Viewウインドウが残っていますが終了してもよろしいですか？");
  Answer(*question, IDNO);
  Settle(300);
  EXPECT_TRUE(program.process.Running());
  EXPECT_TRUE(FindVisibleWindow(program.process, L"KMRN_VIEW_WINDOW"));
  EXPECT_FALSE(FileExists(sandbox.Ini()));

  ChooseFromMainMenu(program.main, 'E');
  question = WaitForMessageBox(program.process);
  ASSERT_TRUE(question);
  Answer(*question, IDYES);
  EXPECT_EQ(program.process.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_EQ(IniSection(sandbox.ReadIni(), "Setting").size(), 49u);
}

TEST(MainWindowClose, TheCloseBoxWithOpenViewersAsksAndYesEndsTheProgram) {
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nAlwaysNoCloseX=0\r\n");
  WriteSmallBmp(sandbox.Path(L"small.bmp"));
  Running program = StartShown(sandbox, {sandbox.Path(L"small.bmp")});
  ASSERT_TRUE(program.main);
  ASSERT_TRUE(WaitUntil([&] { return FindVisibleWindow(program.process, L"KMRN_VIEW_WINDOW") != nullptr; }));

  PostMessageW(program.main, WM_CLOSE, 0, 0);
  auto question = WaitForMessageBox(program.process);
  ASSERT_TRUE(question);
  Answer(*question, IDNO);
  Settle(300);
  EXPECT_TRUE(program.process.Running());

  PostMessageW(program.main, WM_CLOSE, 0, 0);
  question = WaitForMessageBox(program.process);
  ASSERT_TRUE(question);
  Answer(*question, IDYES);
  EXPECT_EQ(program.process.WaitForExit(), std::optional<DWORD>(0));
}

TEST(MainWindowMagnet, TheKeptPlaceIsNotPulledButTheUsersMovesSnap) {
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nLeft=10\r\nTop=300\r\nAlwaysWinMagnet=1\r\nMagPos=20\r\nUseHotKey=0\r\n");
  Running program = StartShown(sandbox);
  ASSERT_TRUE(program.main);
  Settle(300);
  EXPECT_EQ(WindowRectOf(program.main).left, 10) << "the place kept from the last run stays";
  EXPECT_EQ(WindowRectOf(program.main).top, 300);

  // Moved as a drag moves it: 15 pixels from the screen's left edge, onto it; far from every
  // line, where it is put.
  auto moveTo = [&](int x, int y) {
    SetWindowPos(program.main, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
  };
  moveTo(15, 400);
  EXPECT_EQ(WindowRectOf(program.main).left, 0);
  EXPECT_EQ(WindowRectOf(program.main).top, 400);
  moveTo(300, 410);
  EXPECT_EQ(WindowRectOf(program.main).left, 300);
  ChooseFromMainMenu(program.main, 'E');
  EXPECT_EQ(program.process.WaitForExit(), std::optional<DWORD>(0));
  const auto keys = IniSection(sandbox.ReadIni(), "Setting");
  const std::map<std::string, std::string> values(keys.begin(), keys.end());
  EXPECT_EQ(values.at("Left"), "300");
  EXPECT_EQ(values.at("Top"), "410");
}

// The control with the keyboard focus in the program's window, or null.
HWND FocusIn(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

TEST(MainWindowKeys, TabMovesTheFocusAlongTheControlsWithATabStop) {
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nLeft=300\r\nTop=300\r\n");
  Running program = StartShown(sandbox);
  ASSERT_TRUE(program.main);
  HWND win = FindChild(program.main, L"BUTTON", L"Win");
  HWND range = FindChild(program.main, L"BUTTON", L"範囲");
  HWND window = FindChild(program.main, L"BUTTON", L"窓");
  HWND list = FindChild(program.main, L"LISTBOX", L"");
  ASSERT_TRUE(win && range && window && list);
  // Two clicks leave "Win" as it was, with the focus.
  ClickControl(program.main, L"BUTTON", L"Win");
  ClickControl(program.main, L"BUTTON", L"Win");
  ASSERT_EQ(FocusIn(program.main), win);

  // Capture, bmp and Jpg have no tab stop; the list takes none while range mode cuts it off.
  PressKey(VK_TAB);
  Settle();
  EXPECT_EQ(FocusIn(program.main), range);
  PressKey(VK_TAB);
  Settle();
  EXPECT_EQ(FocusIn(program.main), window);
  // The space bar chooses the focused mode: window mode, whose list takes the focus next.
  PressKey(VK_SPACE);
  EXPECT_TRUE(WaitUntil([&] { return ClientHeight(program.main) == AtDpi(193, DpiFor(program.main)); }, 3s))
      << "window mode";
  PressKey(VK_TAB);
  Settle();
  EXPECT_EQ(FocusIn(program.main), list);
  PressKey(VK_TAB);
  Settle();
  EXPECT_EQ(FocusIn(program.main), win) << "round to the first tab stop";
  EXPECT_EQ(SendMessageW(win, BM_GETCHECK, 0, 0), BST_CHECKED) << "Tab changes no check box";
}

}  // namespace
}  // namespace e2e
