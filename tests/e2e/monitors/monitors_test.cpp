// Captures on real desktops of several monitors. scripts/test.sh runs these on an X server with
// one output per monitor, placed as each suite's layout says: the suite AroundLayout on a primary
// 1920x1080 with a 1280x1024 monitor on its left, another above it and a 1600x900 one below it;
// RowLayout on three in a row of different heights. The whole virtual screen shows the driver's
// pattern (as the desktop's "Progman" window), so that every picture can be checked pixel for
// pixel, and the frame buffer's parts that lie on no monitor show it too: the program must give
// black there.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture_fixture.h"
#include "input.h"
#include "notification_area.h"
#include "viewer_fixture.h"

namespace e2e {
namespace {

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  reinterpret_cast<std::vector<MONITORINFO>*>(data)->push_back(info);
  return TRUE;
}

std::vector<MONITORINFO> Monitors() {
  std::vector<MONITORINFO> monitors;
  EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

std::string DescribeMonitors() {
  std::string text;
  for (const MONITORINFO& monitor : Monitors()) text += Describe(monitor.rcMonitor) + " ";
  return text;
}

RECT VirtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool OnAMonitor(POINT point) {
  for (const MONITORINFO& monitor : Monitors()) {
    if (PtInRect(&monitor.rcMonitor, point)) return true;
  }
  return false;
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

RECT Inset(const RECT& r, int x, int y, int width, int height) {
  return {r.left + x, r.top + y, r.left + x + width, r.top + y + height};
}

// The picture taken from `taken` on the screen: the pattern wherever a monitor is, black elsewhere.
::testing::AssertionResult PatternOnMonitorsBlackElsewhere(const std::optional<Picture>& picture,
                                                           const PatternWindow& wall, const RECT& taken) {
  if (!picture) return ::testing::AssertionFailure() << "no picture";
  if (picture->width != SizeOf(taken).cx || picture->height != SizeOf(taken).cy) {
    return ::testing::AssertionFailure() << "size " << picture->width << "x" << picture->height << " for "
                                         << Describe(taken);
  }
  const std::vector<MONITORINFO> monitors = Monitors();
  int wrong = 0, black = 0;
  POINT first{};
  for (int y = 0; y < picture->height; ++y) {
    for (int x = 0; x < picture->width; ++x) {
      const POINT at{taken.left + x, taken.top + y};
      const bool onMonitor = std::any_of(monitors.begin(), monitors.end(),
                                         [&](const MONITORINFO& m) { return PtInRect(&m.rcMonitor, at) != 0; });
      const std::uint32_t expected = onMonitor ? wall.ExpectedAt(at.x, at.y) : 0;
      black += !onMonitor;
      if (picture->At(x, y) == expected) continue;
      if (wrong++ == 0) first = at;
    }
  }
  if (wrong)
    return ::testing::AssertionFailure() << wrong << " pixels wrong, the first at " << first.x << "," << first.y;
  return ::testing::AssertionSuccess() << black << " black pixels";
}

class MultiMonitorTest : public CaptureTest {
 protected:
  // The layout the suite needs, the primary first, then the pattern over the whole virtual screen.
  bool HasLayout(const std::vector<RECT>& expected) {
    const std::vector<MONITORINFO> monitors = Monitors();
    bool same = monitors.size() == expected.size();
    for (size_t i = 0; same && i < monitors.size(); ++i) same = EqualRect(&monitors[i].rcMonitor, &expected[i]);
    if (!same) return false;
    wall_ = std::make_unique<PatternWindow>(L"Program Manager", VirtualScreen(), WS_POPUP, L"Progman");
    return true;
  }

  std::optional<Picture> NewestBmp(size_t count) const {
    const auto files = WaitForFiles(sandbox_.Folder(), L".bmp", count, 20s);
    if (files.size() != count) return std::nullopt;
    return ReadBmpFile(files.back());
  }

  // A range dragged from the band's top-left to its bottom-right, which takes the band, then its
  // BMP file, the count-th.
  std::optional<Picture> DragRange(const RECT& band, size_t count) {
    HWND overlay = StartRangeSelection();
    if (!overlay) return std::nullopt;
    EXPECT_TRUE(Same(WindowRectOf(overlay), VirtualScreen())) << Describe(WindowRectOf(overlay));
    Drag(band.left, band.top, band.right, band.bottom);
    EXPECT_TRUE(SelectionEnded(overlay));
    return NewestBmp(count);
  }

  // The one viewer, closed again after the check.
  RECT TakeViewerRect() {
    std::vector<HWND> viewers;
    EXPECT_TRUE(WaitUntil([&] { return (viewers = VisibleViewers()).size() == 1; })) << viewers.size();
    if (viewers.size() != 1) return {};
    const RECT rect = WindowRectOf(viewers[0]);
    PostMessageW(viewers[0], WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return VisibleViewers().empty(); }));
    return rect;
  }

  std::unique_ptr<PatternWindow> wall_;
  NotificationArea shell_;
};

class AroundLayout : public MultiMonitorTest {};
class RowLayout : public MultiMonitorTest {};

const std::vector<RECT> Around{{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}, {320, -1024, 1600, 0}, {160, 1080, 1760, 1980}};
const std::vector<RECT> Row{{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}, {1920, 0, 3520, 900}};

std::string LayoutMissing() { return "needs its monitors (scripts/test.sh places them), not " + DescribeMonitors(); }

// A band on each monitor and one across two: the overlay covers the virtual screen, each picture
// is exactly what lay beneath, and its viewer is centred on the monitor it came from.
TEST_F(AroundLayout, ARangeOnEachMonitorAndAcrossTwoIsTakenExactlyAndShownOnItsMonitor) {
  ASSERT_TRUE(HasLayout(Around)) << LayoutMissing();
  ASSERT_TRUE(Start("bmp=1\r\njpg=0\r\nwin=1\r\nCapturedWinPos=0\r\nViewWinBorder=0\r\n"));
  size_t count = 0;
  for (const RECT& monitor : Around) {
    const RECT band = Inset(monitor, 400, 200, 300, 200);
    SCOPED_TRACE(Describe(band));
    EXPECT_TRUE(ShowsPattern(DragRange(band, ++count), *wall_, {band.left, band.top}, 300, 200));
    const RECT viewer = TakeViewerRect();
    EXPECT_EQ(viewer.left, (monitor.left + monitor.right) / 2 - 150) << Describe(viewer);
    EXPECT_EQ(viewer.top, (monitor.top + monitor.bottom) / 2 - 100) << Describe(viewer);
  }
  // From the primary into the left monitor's lower corner, which the left one (1024 high) lacks;
  // most of it on the primary, where its viewer goes. The magnifier, turned on with Tab, stays on
  // the monitor under the pointer on either side of the edge between them.
  const RECT across{-200, 950, 300, 1060};
  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  PressKey(VK_TAB);
  for (const POINT at : {POINT{-3, 500}, POINT{3, 500}}) {
    MovePointer(at.x, at.y);
    HWND magnifier = nullptr;
    RECT box{}, inside{}, monitor = at.x < 0 ? Around[1] : Around[0];
    EXPECT_TRUE(WaitUntil([&] {
      magnifier = FindVisibleWindow(program_, L"KMRN_MAGNIFIER");
      box = magnifier ? WindowRectOf(magnifier) : RECT{};
      return magnifier && IntersectRect(&inside, &box, &monitor) && Same(inside, box) && !PtInRect(&box, at);
    })) << Describe(box);
  }
  PressKey(VK_TAB);
  Drag(across.left, across.top, across.right, across.bottom);
  EXPECT_TRUE(SelectionEnded(overlay));
  EXPECT_TRUE(PatternOnMonitorsBlackElsewhere(NewestBmp(++count), *wall_, across));
  EXPECT_FALSE(OnAMonitor({-1, 1030}));
  const RECT viewer = TakeViewerRect();
  EXPECT_EQ(viewer.left, 960 - 250) << Describe(viewer);
}

// A window on the left monitor from the list and with Ctrl+PrintScreen, and the whole desktop from
// the list: all of the virtual screen, black where no monitor is.
TEST_F(AroundLayout, AWindowOnTheLeftMonitorAndTheWholeDesktopAreTakenExactly) {
  ASSERT_TRUE(HasLayout(Around)) << LayoutMissing();
  const RECT bounds{-1000, 200, -600, 500};
  PatternWindow& target = ShowTarget(L"left target", bounds);
  sandbox_.WriteIni("[Setting]\r\nSaveFile=" + ToAnsi(sandbox_.FolderUtf8()) + "\r\nbmp=1\r\njpg=0\r\nwin=0\r\n");
  program_ = sandbox_.Start();
  ASSERT_TRUE(main_ = WaitForMainWindow(program_));
  ASSERT_TRUE(WaitUntil([&] { return MainVisible(); }));
  Settle(300);

  ClickControl(L"Button", L"窓");
  CaptureFromList(L"left target");
  EXPECT_TRUE(ShowsPattern(NewestBmp(1), target, {bounds.left, bounds.top}, 400, 300));

  SetForegroundWindow(target.Handle());
  Settle();
  PressKey(VK_SNAPSHOT, true);
  EXPECT_TRUE(ShowsPattern(NewestBmp(2), target, {bounds.left, bounds.top}, 400, 300));

  ASSERT_TRUE(WaitUntil([&] { return MainVisible(); }));
  HWND list = Control(L"ListBox", L"");
  ASSERT_TRUE(list);
  const LRESULT index =
      SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"[デスクトップ全体]"));
  ASSERT_NE(index, LB_ERR);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  target_.reset();  // it would lie over the desktop, which the capture brings forward
  ClickCapture();
  EXPECT_TRUE(PatternOnMonitorsBlackElsewhere(NewestBmp(3), *wall_, VirtualScreen()));
}

// A viewer on the left monitor snaps to that monitor's own edges, at negative x, and its work area's
// far edge; the manual dual-display geometry, when on, still decides the overlay.
TEST_F(AroundLayout, AViewerSnapsToItsOwnMonitorsEdgesAndTheDualDisplaySettingStillWins) {
  ASSERT_TRUE(HasLayout(Around)) << LayoutMissing();
  ASSERT_TRUE(
      Start("bmp=0\r\njpg=0\r\nwin=1\r\nCapturedWinPos=2\r\nViewWinBorder=0\r\nAlwaysWinMagnet=1\r\n"
            "MagPos=20\r\nmDisplay_Enable=1\r\nmDisplay_PW=1920\r\nmDisplay_PH=1080\r\nmDisplay_SW=1600\r\n"
            "mDisplay_SH=900\r\nmDisplay_SX=160\r\nmDisplay_SY=1080\r\n"));
  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  EXPECT_TRUE(Same(WindowRectOf(overlay), {0, 0, 1920, 1980})) << Describe(WindowRectOf(overlay));
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(SelectionEnded(overlay));
  program_ = Process();

  sandbox_.WriteIni("[Setting]\r\nSaveFile=" + ToAnsi(sandbox_.FolderUtf8()) +
                    "\r\nUseHotKey=0\r\nbmp=0\r\njpg=0\r\nwin=1\r\nCapturedWinPos=2\r\nViewWinBorder=0\r\n"
                    "AlwaysWinMagnet=1\r\nMagPos=20\r\n");
  program_ = sandbox_.Start();
  ASSERT_TRUE(main_ = WaitForMainWindow(program_));
  ASSERT_TRUE(WaitUntil([&] { return MainVisible(); }));
  Settle(300);
  overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  Drag(-1000, 300, -800, 450);
  ASSERT_TRUE(SelectionEnded(overlay));
  std::vector<HWND> viewers;
  ASSERT_TRUE(WaitUntil([&] { return (viewers = VisibleViewers()).size() == 1; }));
  EXPECT_TRUE(Same(WindowRectOf(viewers[0]), {-1000, 300, -800, 450})) << Describe(WindowRectOf(viewers[0]));

  // Dragged by its middle: its left edge to 12 px inside the left monitor, then its right edge to
  // 12 px short of that monitor's right edge (the primary's zero line).
  Drag(-900, 375, -900 + (-1268 + 1000), 375, 6);
  EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(viewers[0]).left == -1280; })) << Describe(WindowRectOf(viewers[0]));
  const RECT moved = WindowRectOf(viewers[0]);
  const POINT middle = MiddleOf(moved);
  Drag(middle.x, middle.y, middle.x + (-12 - moved.right), middle.y, 6);
  EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(viewers[0]).right == 0; })) << Describe(WindowRectOf(viewers[0]));
}

// Three monitors of different heights in a row: the overlay covers all of them, a band across all
// three is black below the shorter ones, and its viewer goes to the top-left of the monitor that
// holds most of it.
TEST_F(RowLayout, ABandAcrossThreeMonitorsOfDifferentHeightsIsTakenWithBlackWhereNoneIs) {
  ASSERT_TRUE(HasLayout(Row)) << LayoutMissing();
  ASSERT_TRUE(Start("bmp=1\r\njpg=0\r\nwin=1\r\nCapturedWinPos=1\r\nViewWinBorder=0\r\n"));
  EXPECT_TRUE(Same(VirtualScreen(), {-1280, 0, 3520, 1080}));
  // To the last row the pointer reaches: below the left monitor's 1024 rows and the right one's 900.
  const RECT band{-300, 700, 2200, 1079};
  const ::testing::AssertionResult shown = PatternOnMonitorsBlackElsewhere(DragRange(band, 1), *wall_, band);
  EXPECT_TRUE(shown);
  EXPECT_STREQ(shown.message(), std::to_string(300 * 55 + 280 * 179).append(" black pixels").c_str());
  const RECT viewer = TakeViewerRect();
  EXPECT_EQ(viewer.left, 0);
  EXPECT_EQ(viewer.top, 0);
}

}  // namespace
}  // namespace e2e
