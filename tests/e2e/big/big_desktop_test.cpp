// The largest desktop the program is made for: three 4K screens side by side, 11520 x 2160 pixels.
// scripts/test.sh runs this on a display of its own of that size. The whole desktop is taken twice,
// as a range dragged from corner to corner and as the desktop window picked from the list, each
// to a BMP file, a JPEG file and a viewer, and compared pixel for pixel with a pattern of the
// driver's that covers the desktop.

#include <gtest/gtest.h>

#include "driver.h"
#include "input.h"
#include "notification_area.h"
#include "pictures.h"
#include "viewer_fixture.h"

namespace e2e {
namespace {

constexpr int DesktopWidth = 3 * 3840;
constexpr int DesktopHeight = 2160;

constexpr const wchar_t* OverlayCaption = L"FormKN_Serect";

HWND VisibleViewer(const Process& program) {
  const std::vector<HWND> viewers = VisibleViewersOf(program);
  return viewers.empty() ? nullptr : viewers.front();
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

// The newest BMP and JPEG files of the capture, once both are complete: the BMP of the whole
// desktop is 100 MB and is compared with the pattern, the JPEG with the BMP.
void CheckFiles(const Sandbox& sandbox, size_t count, const PatternWindow& wall, const RECT& taken) {
  const int width = SizeOf(taken).cx, height = SizeOf(taken).cy;
  const auto bmps = WaitForFiles(sandbox.Folder(), L".bmp", count, 60s);
  const auto jpgs = WaitForFiles(sandbox.Folder(), L".jpg", count, 60s);
  ASSERT_EQ(bmps.size(), count);
  ASSERT_EQ(jpgs.size(), count);
  const std::optional<Picture> bmp = ReadBmpFile(bmps.back());
  EXPECT_TRUE(ShowsPattern(bmp, wall, {taken.left, taken.top}, width, height));
  EXPECT_TRUE(JpegMatches(ReadJpegFile(jpgs.back()), bmp));
}

// The viewer of the capture lies exactly over the place it was taken from (CapturedWinPos=2, no
// border) and shows it 1:1. The wall changes its pattern beneath first, so that what is seen
// there can only be the viewer's. The main window is left out: Wine keeps it above the viewers it
// owns, where Windows would put them above it.
void CheckViewer(const Process& program, HWND main, PatternWindow& wall, const RECT& taken) {
  HWND viewer = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (viewer = VisibleViewer(program)) != nullptr; }, 30s)) << "no viewer";
  const RECT client = ClientRectOnScreen(viewer);
  EXPECT_TRUE(SameRect(client, taken)) << Describe(client);
  const int shown = wall.Phase();
  wall.SetPhase(shown + 1);
  Settle(500);
  const Picture screen = ScreenPixels(taken);
  const RECT covered = IsWindowVisible(main) ? WindowRectOf(main) : RECT{};
  int differences = 0;
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) {
      const POINT at{taken.left + x, taken.top + y};
      if (PtInRect(&covered, at)) continue;
      // The wall's client area starts at the desktop's origin.
      if (screen.At(x, y) != PatternColour(at.x, at.y, shown)) ++differences;
    }
  }
  EXPECT_EQ(differences, 0) << "pixels of the viewer that differ from the capture, outside " << Describe(covered);
}

TEST(BigDesktop, TheWholeDesktopIsTakenExactlyAsARangeAndAsTheDesktopWindow) {
  const RECT desktop = WindowRectOf(GetDesktopWindow());
  ASSERT_TRUE(SameRect(desktop, {0, 0, DesktopWidth, DesktopHeight}))
      << "needs a display of 11520x2160 (scripts/test.sh starts one), not " << Describe(desktop);

  // The desktop itself, as the system's "Progman" window, shows the pattern from corner to corner.
  PatternWindow wall(L"Program Manager", desktop, WS_POPUP, L"Progman");
  // The program's icon goes to a notification area of the driver's: Wine would show it in a window
  // of its own at the top-left corner, over the wall.
  NotificationArea shell;
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nSaveFile=" + ToAnsi(sandbox.FolderUtf8()) +
                   "\r\nUseHotKey=0\r\nbmp=1\r\njpg=1\r\nwin=1\r\nCapturedWinPos=2\r\nViewWinBorder=0\r\n"
                   "ViewWinWheelClose=1\r\n");
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  Settle(300);

  // A range from the top-left corner to the last pixel the pointer reaches.
  HWND capture = FindChild(main, L"Button", L"Capture");
  ASSERT_TRUE(capture);
  POINT button = CentreOf(capture);
  Click(button.x, button.y);
  HWND overlay = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (overlay = FindVisibleWindow(program, nullptr, OverlayCaption)) != nullptr; }))
      << "no overlay";
  EXPECT_TRUE(SameRect(WindowRectOf(overlay), desktop)) << "the overlay covers the whole desktop";
  Settle(300);
  Drag(0, 0, DesktopWidth - 1, DesktopHeight - 1);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(overlay); }));
  const RECT range{0, 0, DesktopWidth - 1, DesktopHeight - 1};
  CheckFiles(sandbox, 1, wall, range);
  CheckViewer(program, main, wall, range);

  // Closed with a middle click, which uncovers the main window again.
  HWND viewer = VisibleViewer(program);
  ASSERT_TRUE(viewer);
  Click(DesktopWidth / 2, DesktopHeight / 2, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(viewer); })) << "the viewer did not close";

  // The desktop window from the list, in window mode: all of it, with the wall's pattern changed
  // since the first capture.
  HWND windowMode = FindChild(main, L"Button", L"窓");
  ASSERT_TRUE(windowMode);
  const POINT mode = CentreOf(windowMode);
  Click(mode.x, mode.y);
  HWND list = FindChild(main, L"ListBox", L"");
  ASSERT_TRUE(list);
  LRESULT index = LB_ERR;
  ASSERT_TRUE(WaitUntil([&] {
    index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(L"[デスクトップ全体]"));
    return index != LB_ERR;
  })) << "the desktop is not in the list";
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  button = CentreOf(capture);
  Click(button.x, button.y);
  CheckFiles(sandbox, 2, wall, desktop);
  CheckViewer(program, main, wall, desktop);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; })) << "the main window comes back";
}

}  // namespace
}  // namespace e2e
