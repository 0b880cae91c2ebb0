#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

#include "capture/window_list.h"

namespace kmrn {
namespace {

Settings Displays(std::int32_t sx, std::int32_t sy, std::int32_t pw, std::int32_t ph, std::int32_t sw,
                  std::int32_t sh) {
  Settings s;
  s.mDisplay_Enable = true;
  s.mDisplay_SX = sx;
  s.mDisplay_SY = sy;
  s.mDisplay_PW = pw;
  s.mDisplay_PH = ph;
  s.mDisplay_SW = sw;
  s.mDisplay_SH = sh;
  return s;
}

TEST(CaptureGeometry, NarrowToClientArea) {
  const ScreenRect window{100, 50, 516, 389}, client{108, 81, 508, 381};
  EXPECT_EQ(NarrowToClientArea(window, client, false), (PixelRect{100, 50, 416, 339}));
  EXPECT_EQ(NarrowToClientArea(window, client, true), (PixelRect{108, 81, 400, 300}));
  // A window rolled up to its caption has no client area to take.
  EXPECT_EQ(NarrowToClientArea(window, {108, 81, 508, 81}, true), (PixelRect{100, 50, 416, 339}));
}

TEST(CaptureGeometry, OverlayAndVisibleDesktop) {
  const ScreenRect desktop{0, 0, 1920, 1080};
  const MonitorLayout primaryOnly{{desktop, {0, 0, 1920, 1040}, 96}};
  const struct {
    const char* name;
    Settings settings;
    PixelRect overlay;
    ScreenRect visible;
  } kCases[] = {
      {"one display", Settings{}, {0, 0, 1920, 1080}, desktop},
      {"secondary left", Displays(-1280, 0, 1600, 1200, 1280, 1024), {-1280, 0, 2880, 1200}, {-1280, 0, 1600, 1200}},
      {"higher", Displays(-1280, -200, 1920, 1080, 1280, 1440), {-1280, -200, 3200, 1440}, {-1280, -200, 1920, 1440}},
      {"secondary right", Displays(1920, 0, 1920, 1080, 1280, 1024), {0, 0, 3200, 1080}, {0, 0, 3200, 1080}},
      {"overlapping", Displays(1000, 0, 1920, 1080, 1280, 1024), {0, 0, 2280, 1080}, {0, 0, 3200, 1080}},
      {"below", Displays(0, 1080, 1920, 1080, 1280, 1024), {0, 0, 1920, 2104}, {0, 0, 3200, 1080}},
      {"hand-edited sizes", Displays(0, 0, 2147483647, 1, 9, 1), {0, 0, 2147483647, 1}, {0, 0, 2147483647, 1}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(OverlayBounds(c.settings, desktop, primaryOnly), c.overlay);
    EXPECT_EQ(VisibleDesktopRect(c.settings, desktop, primaryOnly), c.visible);
  }
}

// Three monitors of different heights: the primary, a shorter one left of it at negative x and a
// 150 % one right of it reaching above it to negative y. With every monitor used, the overlay and
// the window list take the whole virtual screen and the desktop's entry captures all of it; the
// hand-typed dual display, when on, wins; with both off, the primary alone as before. Any other
// window is taken as it lies, also at negative coordinates.
TEST(CaptureGeometry, EveryMonitorTheDualDisplayOrThePrimaryAlone) {
  const ScreenRect desktop{0, 0, 1920, 1080};
  const MonitorLayout monitors{{desktop, {0, 0, 1920, 1040}, 96},
                               {{-1280, 56, 0, 1080}, {-1280, 56, 0, 1080}, 96},
                               {{1920, -400, 4480, 1040}, {1920, -400, 4480, 1000}, 144}};
  Settings all, none, dual = Displays(-1280, 0, 1920, 1080, 1280, 1024);
  none.AllMonitors = false;
  const ScreenRect leftOnly{-1200, 100, -800, 400}, aboveRight{2000, -300, 2500, -100};
  const ScreenRect window{-1000, -300, -200, 300}, client{-992, -270, -208, 292};
  const struct {
    const char* name;
    const Settings& settings;
    PixelRect overlay;
    ScreenRect visible;
    PixelRect desktopCapture;
    bool listsLeft, listsAboveRight;
  } kCases[] = {
      {"every monitor",
       all,
       {-1280, -400, 5760, 1480},
       {-1280, -400, 4480, 1080},
       {-1280, -400, 5760, 1480},
       true,
       true},
      {"primary alone", none, {0, 0, 1920, 1080}, desktop, {0, 0, 1920, 1080}, false, false},
      {"dual display wins", dual, {-1280, 0, 3200, 1080}, {-1280, 0, 1920, 1080}, {0, 0, 1920, 1080}, true, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(OverlayBounds(c.settings, desktop, monitors), c.overlay);
    EXPECT_EQ(VisibleDesktopRect(c.settings, desktop, monitors), c.visible);
    EXPECT_EQ(TouchesVisibleDesktop(leftOnly, c.visible), c.listsLeft);
    EXPECT_EQ(TouchesVisibleDesktop(aboveRight, c.visible), c.listsAboveRight);
    EXPECT_EQ(WindowCaptureRect(DesktopClass, desktop, desktop, c.settings, monitors), c.desktopCapture);
    EXPECT_EQ(WindowCaptureRect("Notepad", window, client, c.settings, monitors), (PixelRect{-1000, -300, 800, 600}));
    Settings clientOnly = c.settings;
    clientOnly.AlwaysWinClient = true;
    EXPECT_EQ(WindowCaptureRect(DesktopClass, desktop, {0, 0, 1920, 1040}, clientOnly, monitors).width,
              c.desktopCapture.width);
    EXPECT_EQ(WindowCaptureRect("Notepad", window, client, clientOnly, monitors), (PixelRect{-992, -270, 784, 562}));
  }
  // A system that lists no monitors leaves the primary screen.
  EXPECT_EQ(OverlayBounds(all, desktop, {}), (PixelRect{0, 0, 1920, 1080}));
  EXPECT_EQ(WindowCaptureRect(DesktopClass, desktop, desktop, all, {}), (PixelRect{0, 0, 1920, 1080}));
}

TEST(CaptureGeometry, TouchesVisibleDesktop) {
  const struct {
    const char* name;
    ScreenRect rect;
    bool touches;
  } kCases[] = {
      {"inside", {100, 100, 500, 400}, true},
      {"right edge on the desktop's left edge", {-400, 100, 0, 400}, true},
      {"one pixel left of it", {-400, 100, -1, 400}, false},
      {"parked minimised", {-32000, -32000, -31840, -31969}, false},
      {"empty", {100, 100, 100, 400}, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TouchesVisibleDesktop(c.rect, {0, 0, 1920, 1080}), c.touches);
  }
}

// The viewer's place in the main window's work area, as without AllMonitors.
Position ViewerInMainWorkArea(std::int32_t capturedWinPos, const PixelRect& capture, std::int32_t viewWinBorder,
                              const ScreenRect& work) {
  Settings s;
  s.AllMonitors = false;
  s.CapturedWinPos = capturedWinPos;
  s.ViewWinBorder = viewWinBorder;
  return CapturedViewerPosition(s, capture, work, {});
}

TEST(CaptureGeometry, ViewerPositions) {
  const ScreenRect work{0, 0, 1920, 1040};
  const ScreenRect leftMonitor{-1280, 100, 0, 1124};
  const struct {
    const char* name;
    std::int32_t capturedWinPos;
    PixelRect capture;
    ScreenRect work;
    Position expected;
  } kCases[] = {
      {"centre, by the capture's size", 0, {10, 10, 401, 301}, work, {760, 370}},
      {"centre of a monitor at negative x", 0, {0, 0, 200, 100}, leftMonitor, {-740, 562}},
      {"top-left", 1, {500, 500, 100, 100}, leftMonitor, {-1280, 100}},
      {"same place", 2, {100, 200, 50, 50}, work, {98, 198}},
      {"unknown value: as the default, the same place", 3, {100, 200, 50, 50}, work, {98, 198}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ViewerInMainWorkArea(c.capturedWinPos, c.capture, 2, c.work), c.expected);
  }
  // A hand-edited negative border draws no frame, so the picture lands on its spot all the same.
  EXPECT_EQ(ViewerInMainWorkArea(2, {100, 200, 50, 50}, -5, work), (Position{100, 200}));
  // An opened file's viewer is centred by its outer size, picture and frame together.
  EXPECT_EQ(CentredInWorkArea({404, 304}, work), (Position{758, 368}));
}

// Three monitors: one left of the primary, lower and with a taskbar of its own, one above it.
const MonitorLayout kThreeMonitors{
    {{-1280, 100, 0, 1124}, {-1280, 100, 0, 1084}, 96},
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96},
    {{0, -1024, 1280, 0}, {0, -1024, 1280, 0}, 96},
};

// With AllMonitors on, a capture's viewer lands in the work area of the monitor the picture came
// from, wholly inside it, except where the user asked for the picture's own spot.
TEST(CaptureGeometry, ViewerPositionsOnTheCapturesMonitor) {
  const ScreenRect mainWork{0, 0, 1920, 1040};
  const struct {
    const char* name;
    std::int32_t capturedWinPos;
    PixelRect capture;
    Position expected;
  } kCases[] = {
      {"centred on the left monitor", 0, {-1000, 300, 200, 100}, {-740, 542}},
      {"top-left of the monitor above", 1, {100, -900, 300, 200}, {0, -1024}},
      {"same place on the left monitor", 2, {-1000, 300, 200, 100}, {-1002, 298}},
      {"same place, sticking out of the primary: not moved", 2, {1800, 1000, 400, 100}, {1798, 998}},
      // The whole left monitor is taller than its work area: centring would start above it.
      {"larger than the work area: its top-left", 0, {-1280, 100, 1280, 1024}, {-1280, 100}},
      {"as wide as the work area with the frame beyond it", 0, {-1279, 300, 1278, 100}, {-1280, 542}},
  };
  Settings s;
  s.ViewWinBorder = 2;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    s.CapturedWinPos = c.capturedWinPos;
    EXPECT_EQ(CapturedViewerPosition(s, c.capture, mainWork, kThreeMonitors), c.expected);
  }
  // Dual display keeps the main window's work area, whatever the monitors.
  Settings dual = Displays(-1280, 0, 1920, 1080, 1280, 1024);
  dual.CapturedWinPos = 0;
  EXPECT_EQ(CapturedViewerPosition(dual, {-1000, 300, 200, 100}, mainWork, kThreeMonitors), (Position{860, 470}));

  // One monitor at (0, 0): exactly where the viewer went without AllMonitors.
  const MonitorLayout single{{{0, 0, 1920, 1080}, mainWork, 96}};
  for (std::int32_t pos : {0, 1, 2}) {
    for (const PixelRect& capture : {PixelRect{10, 10, 401, 301}, PixelRect{1700, 900, 300, 200}}) {
      s.CapturedWinPos = pos;
      EXPECT_EQ(CapturedViewerPosition(s, capture, mainWork, single), ViewerInMainWorkArea(pos, capture, 2, mainWork))
          << pos << " at " << capture.x;
    }
  }
}

// A pinned picture is centred on the pointer but always wholly in the pointer monitor's work area,
// a secondary monitor left of the primary included; one too large starts at the area's corner.
TEST(PinnedViewerPosition, CentresOnThePointerAndStaysWhollyInTheWorkArea) {
  const ScreenRect primary{0, 0, 1920, 1040};
  const ScreenRect left{-1280, 0, 0, 1024};
  const struct {
    PixelSize size;
    Position pointer;
    ScreenRect area;
    Position expected;
  } kCases[] = {
      {{200, 100}, {960, 500}, primary, {860, 450}},       // centred
      {{201, 101}, {960, 500}, primary, {860, 450}},       // odd sizes: the extra pixel right and below
      {{200, 100}, {1910, 1030}, primary, {1720, 940}},    // pulled back from the bottom-right corner
      {{200, 100}, {5, 5}, primary, {0, 0}},               // and from the top-left
      {{200, 100}, {-5, 1020}, left, {-200, 924}},         // on the left monitor, against its right edge
      {{1280, 1024}, {-640, 512}, left, {-1280, 0}},       // exactly the area
      {{3000, 2000}, {960, 500}, primary, {0, 0}},         // larger than the area: its top-left
      {{100, 100}, {2147483000, 10}, primary, {1820, 0}},  // a pointer far off, no overflow
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.pointer.left << "," << c.pointer.top);
    EXPECT_EQ(PinnedViewerPosition(c.size, c.pointer, c.area), c.expected);
  }
}

}  // namespace
}  // namespace kmrn
