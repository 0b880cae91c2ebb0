// Screenshots of the program for people to look at: the main window in both modes, the range
// overlay in the middle of a drag (also with the magnifier), a viewer showing its zoom label and
// its context menu, the main window's menu, the box of a PrintScreen key held by another program.
// Not a check: run by scripts/screenshots.sh (disabled in the test run), which names the folder.

#include <gtest/gtest.h>

#include <cstdlib>

#include "driver.h"
#include "input.h"
#include "pictures.h"
#include "unix_side.h"

namespace e2e {
namespace {

std::wstring ShotFolder() {
  const char* folder = std::getenv("KAMERIN_SCREENSHOTS");
  return folder ? Widen(folder) : std::wstring();
}

void Shot(const std::wstring& name) {
  std::wstring path = ShotFolder() + L"\\" + name;
  EXPECT_TRUE(TakeScreenshot(path)) << Narrow(path);
}

// A 120 x 80 picture with coloured bands, to show in a viewer.
void WriteBandsBmp(const std::wstring& path) {
  WriteFileBytes(path, Bmp24(120, 80, [](int x, int) {
                   return x < 40 ? RGB(0xD0, 0x40, 0x40) : x < 80 ? RGB(0x40, 0xB0, 0x40) : RGB(0x40, 0x60, 0xD0);
                 }));
}

TEST(Screenshots, DISABLED_MainWindowOverlayAndViewer) {
  ASSERT_FALSE(ShotFolder().empty()) << "KAMERIN_SCREENSHOTS names the folder for the pictures";
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nLeft=200\r\nTop=150\r\nViewWinWheelStretch=1\r\n");
  WriteBandsBmp(sandbox.Path(L"bands.bmp"));
  Process program = sandbox.Start({sandbox.Path(L"bands.bmp")});
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  HWND viewer = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (viewer = FindVisibleWindow(program, L"KMRN_VIEW_WINDOW")) != nullptr; }));
  // The zoom label shows for half a second after a wheel step; the wheel turns the active viewer.
  Settle(500);
  RECT before{};
  GetWindowRect(viewer, &before);
  auto grown = [&] {
    RECT now{};
    GetWindowRect(viewer, &now);
    return SizeOf(now).cx > SizeOf(before).cx;
  };
  for (int attempt = 0; attempt < 3 && !grown(); ++attempt) {
    POINT picture = CentreOf(viewer);
    Wheel(picture.x, picture.y, 1);
    WaitUntil(grown, 1s);
  }
  Shot(L"viewer-zoom-label.png");
  // The viewer's context menu, with its Edit submenu open.
  const POINT picture = CentreOf(viewer);
  Click(picture.x, picture.y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  if (WaitUntil([&] { return FindVisibleWindow(program, L"#32768") != nullptr; }, 3s)) {
    Settle(200);
    PressKey('E');
    Settle(300);
    Shot(L"viewer-menu.png");
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
  }
  Settle(1500);
  Shot(L"main-range-mode.png");
  // The main window's menu, which the notification-area icon shares.
  const RECT mainRect = WindowRectOf(main);
  SetForegroundWindow(main);
  Click((mainRect.left + mainRect.right) / 2 + 60, mainRect.bottom - 6, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  if (WaitUntil([&] { return FindVisibleWindow(program, L"#32768") != nullptr; }, 3s)) {
    Settle(300);
    Shot(L"main-menu.png");
    PressKey(VK_ESCAPE);
    Settle(300);
  }

  HWND windowMode = FindChild(main, L"BUTTON", L"窓");
  ASSERT_TRUE(windowMode);
  POINT centre = CentreOf(windowMode);
  Click(centre.x, centre.y);
  Settle(500);
  Shot(L"main-window-mode.png");

  HWND rangeMode = FindChild(main, L"BUTTON", L"範囲");
  centre = CentreOf(rangeMode);
  Click(centre.x, centre.y);
  Settle(300);
  HWND capture = FindChild(main, L"BUTTON", L"Capture");
  ASSERT_TRUE(capture);
  centre = CentreOf(capture);
  Click(centre.x, centre.y);
  ASSERT_TRUE(WaitUntil([&] { return FindVisibleWindow(program, nullptr, L"FormKN_Serect") != nullptr; }));
  MovePointer(700, 400);
  PressButton(700, 400, MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 10; ++step) MovePointer(700 + step * 30, 400 + step * 20);
  Shot(L"overlay-dragging.png");
  PressKey(VK_ESCAPE);
  ReleaseButton(1000, 600, MOUSEEVENTF_LEFTUP);
}

// The range overlay with the magnifier beside the pointer, over a pattern of the driver's own:
// hovering, and in the middle of a drag.
TEST(Screenshots, DISABLED_RangeOverlayMagnifier) {
  ASSERT_FALSE(ShotFolder().empty()) << "KAMERIN_SCREENSHOTS names the folder for the pictures";
  PatternWindow pattern(L"magnified", RECT{600, 300, 1000, 600});
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nUseHotKey=0\r\nLeft=40\r\nTop=40\r\nMagnifier=1\r\n");
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main && WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  Settle(300);
  HWND capture = FindChild(main, L"BUTTON", L"Capture");
  ASSERT_TRUE(capture);
  const POINT centre = CentreOf(capture);
  Click(centre.x, centre.y);
  ASSERT_TRUE(WaitUntil([&] { return FindVisibleWindow(program, nullptr, L"FormKN_Serect") != nullptr; }));
  MovePointer(700, 400);
  Settle(300);
  Shot(L"overlay-magnifier.png");
  PressButton(700, 400, MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 8; ++step) MovePointer(700 + step * 30, 400 + step * 20);
  Settle(300);
  Shot(L"overlay-magnifier-dragging.png");
  PressKey(VK_ESCAPE);
  ReleaseButton(940, 560, MOUSEEVENTF_LEFTUP);
}

// The settings dialog's three pages and the folder browser behind its first "参照".
TEST(Screenshots, DISABLED_SettingsDialogAndFolderBrowser) {
  ASSERT_FALSE(ShotFolder().empty()) << "KAMERIN_SCREENSHOTS names the folder for the pictures";
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nUseHotKey=0\r\nLeft=40\r\nTop=40\r\n");
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main && WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  HWND dialog = OpenSettingsDialog(program, main);
  ASSERT_TRUE(dialog);
  Shot(L"settings-general.png");
  HWND tabs = FindWindowExW(dialog, nullptr, L"SysTabControl32", nullptr);
  ASSERT_TRUE(tabs);
  const RECT header = WindowRectOf(tabs);
  Click(header.left + 20, header.top + 10);
  PressKey(VK_RIGHT);
  Settle(300);
  Shot(L"settings-details.png");
  PressKey(VK_RIGHT);
  Settle(300);
  Shot(L"settings-special.png");
  PressKey(VK_LEFT);
  PressKey(VK_LEFT);
  Settle(300);
  HWND browse = FindChild(dialog, L"Button", L"参照");
  ASSERT_TRUE(browse);
  const POINT at = CentreOf(browse);
  Click(at.x, at.y);
  HWND folders = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (folders = FindVisibleWindow(program, L"#32770")) != nullptr; }, 5s));
  Settle(500);
  Shot(L"folder-browser.png");
  PressKey(VK_ESCAPE);
}

// The box that says PrintScreen is held by another program (here the driver itself).
TEST(Screenshots, DISABLED_HotKeyConflict) {
  ASSERT_FALSE(ShotFolder().empty()) << "KAMERIN_SCREENSHOTS names the folder for the pictures";
  HeldHotKey printScreen(0, VK_SNAPSHOT);
  ASSERT_TRUE(printScreen.Held());
  Sandbox sandbox;
  Process program = sandbox.Start();
  auto box = WaitForMessageBox(program);
  EXPECT_TRUE(box);
  Settle(300);
  Shot(L"hotkey-conflict.png");
  if (box) Answer(*box, IDOK);
}

}  // namespace
}  // namespace e2e
