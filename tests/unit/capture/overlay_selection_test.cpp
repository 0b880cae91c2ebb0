#include "capture/overlay_selection.h"

#include <gtest/gtest.h>

#include <vector>

#include "capture/capture_geometry.h"

namespace kmrn {
namespace {

using Draw = OverlayDraw;
using Draws = std::vector<OverlayDraw>;
constexpr PixelSize kOverlay{1920, 1080};

struct Point {
  std::int32_t x, y;
};

// Shows the overlay, drags from the anchor through the moves and releases `button`.
OverlayStep Drag(OverlaySelection& s, Point anchor, const std::vector<Point>& moves, const Settings& settings,
                 MouseButton button = MouseButton::Left, bool mainWasVisible = true, Position origin = {}) {
  OnOverlayShown(s, origin);
  OnOverlayPress(s, MouseButton::Left, anchor.x, anchor.y);
  for (Point p : moves) OnOverlayMove(s, p.x, p.y, 96);
  return OnOverlayRelease(s, button, {settings, mainWasVisible, kOverlay});
}

TEST(OverlaySelection, CapturesOnlyLeftDragsBigEnoughInOneDirection) {
  const struct {
    const char* name;
    Point anchor;
    std::vector<Point> moves;
    MouseButton button;
    std::optional<PixelRect> capture;
  } kCases[] = {
      {"10 x 10 is too small", {100, 100}, {{110, 110}}, MouseButton::Left, std::nullopt},
      {"11 x 1 is wide enough", {100, 100}, {{111, 101}}, MouseButton::Left, PixelRect{100, 100, 11, 1}},
      {"10 x 11 is high enough", {100, 100}, {{110, 111}}, MouseButton::Left, PixelRect{100, 100, 10, 11}},
      {"a click without a move", {100, 100}, {}, MouseButton::Left, std::nullopt},
      {"a level drag holds no pixels", {100, 100}, {{300, 100}}, MouseButton::Left, std::nullopt},
      {"up and left", {300, 200}, {{100, 50}}, MouseButton::Left, PixelRect{100, 50, 200, 150}},
      {"down and right", {100, 50}, {{300, 200}}, MouseButton::Left, PixelRect{100, 50, 200, 150}},
      {"ends at the last move", {0, 0}, {{500, 500}, {40, 30}}, MouseButton::Left, PixelRect{0, 0, 40, 30}},
      {"right button", {0, 0}, {{300, 300}}, MouseButton::Right, std::nullopt},
      {"middle button", {0, 0}, {{300, 300}}, MouseButton::Middle, std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    OverlaySelection s;
    const OverlayStep step = Drag(s, c.anchor, c.moves, Settings{}, c.button);
    EXPECT_EQ(step.capture, c.capture);
    EXPECT_EQ(step.draws, Draws{Draw::FillErase({0, 0, 1920, 1080})});  // blank for the next showing
    EXPECT_TRUE(step.hideOverlay && step.showMainWindow && step.showHiddenViewers);
    EXPECT_EQ(s.State, OverlayState::Hidden);
  }
}

TEST(OverlaySelection, LeftReleaseWithoutPressDoesNotRetakeThePreviousSelection) {
  OverlaySelection s;
  ASSERT_TRUE(Drag(s, {0, 0}, {{300, 300}}, Settings{}).capture);
  OnOverlayShown(s, {});
  EXPECT_FALSE(OnOverlayRelease(s, MouseButton::Left, {Settings{}, true, kOverlay}).capture);
}

TEST(OverlaySelection, MainWindowComesBackByCloseAfterCapture) {
  const struct {
    bool closeAfterCapture, alwaysNoCloseX, mainWasVisible, shown;
  } kCases[] = {
      {false, true, true, true},
      {false, true, false, false},
      {true, false, false, true},
      {true, true, true, false},
  };
  for (const auto& c : kCases) {
    Settings settings;
    settings.CloseAfterCapture = c.closeAfterCapture;
    settings.AlwaysNoCloseX = c.alwaysNoCloseX;
    for (std::int32_t corner : {300, 3}) {  // captured, refused
      SCOPED_TRACE(testing::Message() << c.closeAfterCapture << c.alwaysNoCloseX << c.mainWasVisible << corner);
      OverlaySelection s;
      EXPECT_EQ(Drag(s, {0, 0}, {{corner, corner}}, settings, MouseButton::Left, c.mainWasVisible).showMainWindow,
                c.shown);
    }
  }
}

TEST(OverlaySelection, EscCancelsAndBringsTheMainWindowAndTheViewersBack) {
  Settings settings;
  settings.CloseAfterCapture = true;  // a release would keep the main window hidden
  OverlaySelection s;
  OnOverlayShown(s, {});
  OnOverlayPress(s, MouseButton::Left, 10, 10);
  OnOverlayMove(s, 400, 400, 96);
  EXPECT_TRUE(OnOverlayKeyPress(s, 'a', kOverlay).draws.empty());

  const OverlayStep step = OnOverlayKeyPress(s, EscapeKey, kOverlay);
  EXPECT_EQ(step.draws, Draws{Draw::FillErase({0, 0, 1920, 1080})});
  EXPECT_TRUE(step.hideOverlay && step.showMainWindow && step.showHiddenViewers);
  EXPECT_FALSE(step.capture);

  // A release that follows reaches a hidden overlay and does nothing.
  const OverlayStep late = OnOverlayRelease(s, MouseButton::Left, {settings, true, kOverlay});
  EXPECT_FALSE(late.capture || late.hideOverlay || late.showMainWindow || late.showHiddenViewers);
}

TEST(OverlaySelection, DrawsIncrementallyWhileDragging) {
  OverlaySelection s;
  OnOverlayShown(s, {});
  OnOverlayMove(s, 200, 100, 96);
  OnOverlayPress(s, MouseButton::Left, 200, 100);

  // The first move erases only the hover label; there is no band yet.
  const OverlayStep first = OnOverlayMove(s, 150, 160, 96);
  EXPECT_TRUE(first.raiseTopMost);
  EXPECT_EQ(first.draws, (Draws{Draw::FillErase({200, 84, 300, 100}), Draw::FillBand({150, 100, 200, 160}),
                                Draw::DrawLabel(158, 84, "50x60")}));

  EXPECT_EQ(OnOverlayMove(s, 260, 130, 96).draws,
            (Draws{Draw::FillErase({150, 100, 200, 160}), Draw::FillErase({150, 84, 250, 100}),
                   Draw::FillBand({200, 100, 260, 130}), Draw::DrawLabel(208, 84, "60x30")}));
}

// For every placement of a secondary display the settings allow, the overlay covers both displays,
// the hover label shows the screen point under the pointer, and a drag captures exactly the
// pixels beneath the band.
TEST(OverlaySelection, CapturesBeneathTheBandWhereverTheSecondaryDisplayLies) {
  const struct {
    const char* name;
    bool enable;
    std::int32_t sx, sy, sw, sh;
  } kPlacements[] = {
      {"one display", false, 0, 0, 0, 0},
      {"switched off, values left in the file", false, -1280, -200, 1280, 1024},
      {"left", true, -1280, 0, 1280, 1024},
      {"left and higher", true, -1280, -200, 1280, 1440},
      {"right", true, 1920, 0, 1280, 1024},
      {"right and lower", true, 1920, 200, 1280, 1024},
      {"above", true, 0, -1024, 1280, 1024},
      {"below", true, 0, 1080, 1280, 1024},
      {"below, shifted left", true, -300, 1080, 1280, 1024},
      {"overlapping the primary", true, 1000, 0, 1280, 1024},
  };
  const ScreenRect desktop{0, 0, 1920, 1080};
  for (const auto& p : kPlacements) {
    SCOPED_TRACE(p.name);
    Settings settings;
    settings.mDisplay_Enable = p.enable;
    settings.mDisplay_PW = 1920;
    settings.mDisplay_PH = 1080;
    settings.mDisplay_SX = p.sx;
    settings.mDisplay_SY = p.sy;
    settings.mDisplay_SW = p.sw;
    settings.mDisplay_SH = p.sh;
    const PixelRect bounds = OverlayBounds(settings, desktop, MonitorLayout{{desktop, desktop, 96}});
    const Position origin{bounds.x, bounds.y};
    EXPECT_LE(bounds.x, p.enable ? std::min(0, p.sx) : 0);
    EXPECT_LE(bounds.y, p.enable ? std::min(0, p.sy) : 0);
    EXPECT_GE(bounds.x + bounds.width, p.enable ? std::max(1920, p.sx + p.sw) : 1920);
    EXPECT_GE(bounds.y + bounds.height, p.enable ? std::max(1080, p.sy + p.sh) : 1080);

    OverlaySelection s;
    OnOverlayShown(s, origin);
    OnOverlayMove(s, 50, 50, 96);
    EXPECT_EQ(OnOverlayMove(s, 0, 20, 96).draws,
              (Draws{Draw::FillErase({50, 34, 150, 50}),
                     Draw::DrawLabel(8, 4, std::to_string(bounds.x) + "," + std::to_string(bounds.y + 20))}));
    EXPECT_EQ(Drag(s, {0, 20}, {{400, 320}}, settings, MouseButton::Left, true, origin).capture,
              (PixelRect{bounds.x, bounds.y + 20, 400, 300}));
  }
}

}  // namespace
}  // namespace kmrn

namespace kmrn {
namespace {

TEST(OverlaySelection, ArrowKeysMoveThePointerAndTheBandFollowsWithinTheOverlay) {
  constexpr int Left = static_cast<int>(ArrowKey::Left), Right = static_cast<int>(ArrowKey::Right),
                Up = static_cast<int>(ArrowKey::Up), Down = static_cast<int>(ArrowKey::Down);
  const struct {
    const char* name;
    int key;
    bool shift;
    Position from;
    std::optional<Position> to;
  } kCases[] = {
      {"right by one", Right, false, {100, 100}, Position{101, 100}},
      {"left by ten with Shift", Left, true, {100, 100}, Position{90, 100}},
      {"up by one", Up, false, {100, 100}, Position{100, 99}},
      {"down by ten", Down, true, {100, 100}, Position{100, 110}},
      {"stops at the left edge", Left, true, {4, 50}, Position{0, 50}},
      {"stops at the last column", Right, true, {1915, 50}, Position{1919, 50}},
      {"stops at the last row", Down, true, {50, 1075}, Position{50, 1079}},
      {"at the edge already", Up, false, {50, 0}, std::nullopt},
      {"from beyond the overlay", Left, false, {2500, -40}, Position{1919, 0}},
      {"not an arrow", 'A', false, {100, 100}, std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    OverlaySelection s;
    OnOverlayShown(s, {1000, 0});
    const OverlayStep step = OnOverlayKeyDown(s, c.key, c.shift, c.from, kOverlay, 96);
    EXPECT_EQ(step.movePointer, c.to);
    if (!c.to) continue;
    // Hovering: the label names the screen point the pointer went to.
    ASSERT_FALSE(step.draws.empty());
    EXPECT_EQ(step.draws.back().text, std::to_string(1000 + c.to->left) + "," + std::to_string(c.to->top));
  }

  // Dragging: the band follows at once, and the system's report of the move changes nothing;
  // a later real move does.
  OverlaySelection s;
  OnOverlayShown(s, {});
  OnOverlayPress(s, MouseButton::Left, 100, 100);
  OnOverlayMove(s, 150, 120, 96);
  const OverlayStep step = OnOverlayKeyDown(s, Right, true, {150, 120}, kOverlay, 96);
  EXPECT_EQ(step.movePointer, (Position{160, 120}));
  EXPECT_EQ(step.draws, (Draws{Draw::FillErase({100, 100, 150, 120}), Draw::FillErase({100, 84, 200, 100}),
                               Draw::FillBand({100, 100, 160, 120}), Draw::DrawLabel(108, 84, "60x20")}));
  EXPECT_TRUE(OnOverlayMove(s, 160, 120, 96).draws.empty());
  EXPECT_EQ(OnOverlayMove(s, 160, 120, 96).draws.size(), 4u);
  const OverlayStep released = OnOverlayRelease(s, MouseButton::Left, {Settings{}, true, kOverlay});
  EXPECT_EQ(released.capture, (PixelRect{100, 100, 60, 20}));

  // Hidden, keys do nothing.
  EXPECT_FALSE(OnOverlayKeyDown(s, Right, false, {10, 10}, kOverlay, 96).movePointer);
}

// The labels are sized for the DPI of the monitor under the pointer. Crossing from a 144 DPI
// monitor (left, at negative x) to a 96 DPI one, each move erases the label by the box it was
// drawn with, and a repaint draws it again at that size.
TEST(OverlaySelection, LabelsFollowTheDpiOfThePointersMonitorAndAreErasedAtTheirOwnSize) {
  OverlaySelection s;
  OnOverlayShown(s, {-1280, -200});
  EXPECT_EQ(OnOverlayMove(s, 100, 200, 144).draws.back(), Draw::DrawLabel(112, 176, "-1180,0", 144));
  EXPECT_EQ(OnOverlayMove(s, 1400, 300, 96).draws,
            (Draws{Draw::FillErase({100, 176, 250, 200}), Draw::DrawLabel(1408, 284, "120,100", 96)}));

  OnOverlayPress(s, MouseButton::Left, 1400, 300);
  EXPECT_EQ(OnOverlayMove(s, 1200, 250, 144).draws,
            (Draws{Draw::FillErase({1400, 284, 1500, 300}), Draw::FillBand({1200, 250, 1400, 300}),
                   Draw::DrawLabel(1212, 226, "200x50", 144)}));
  EXPECT_EQ(OverlayRepaint(s, {1340, 230, 1350, 240}),
            (Draws{Draw::FillErase({1340, 230, 1350, 240}), Draw::DrawLabel(1212, 226, "200x50", 144)}));
  EXPECT_EQ(OnOverlayMove(s, 1500, 400, 96).draws,
            (Draws{Draw::FillErase({1200, 250, 1400, 300}), Draw::FillErase({1200, 226, 1350, 250}),
                   Draw::FillBand({1400, 300, 1500, 400}), Draw::DrawLabel(1408, 284, "100x100", 96)}));
  EXPECT_EQ(OverlayRepaint(s, {1340, 230, 1350, 240}), Draws{Draw::FillErase({1340, 230, 1350, 240})});
  EXPECT_EQ(OnOverlayRelease(s, MouseButton::Left, {Settings{}, true, kOverlay}).capture,
            (PixelRect{120, 100, 100, 100}));
}

TEST(OverlaySelection, TabTogglesTheMagnifierOnlyWhileShown) {
  OverlaySelection s;
  EXPECT_FALSE(OnOverlayKeyPress(s, TabKey, kOverlay).toggleMagnifier);
  OnOverlayShown(s, {});
  const OverlayStep step = OnOverlayKeyPress(s, TabKey, kOverlay);
  EXPECT_TRUE(step.toggleMagnifier);
  EXPECT_TRUE(step.draws.empty() && !step.hideOverlay);
  EXPECT_EQ(s.State, OverlayState::Hovering);
}

TEST(OverlaySelection, RepaintDrawsTheVeilBandAndLabelWithinTheArea) {
  OverlaySelection s;
  OnOverlayShown(s, {});
  EXPECT_EQ(OverlayRepaint(s, {0, 0, 50, 50}), Draws{Draw::FillErase({0, 0, 50, 50})});
  OnOverlayMove(s, 300, 200, 96);
  // Hovering: the label is drawn again where the area meets it, and only there.
  EXPECT_EQ(OverlayRepaint(s, {290, 190, 310, 210}),
            (Draws{Draw::FillErase({290, 190, 310, 210}), Draw::DrawLabel(308, 184, "300,200")}));
  EXPECT_EQ(OverlayRepaint(s, {290, 200, 310, 210}), Draws{Draw::FillErase({290, 200, 310, 210})});

  OnOverlayPress(s, MouseButton::Left, 300, 200);
  EXPECT_EQ(OverlayRepaint(s, {0, 0, 10, 10}), Draws{Draw::FillErase({0, 0, 10, 10})}) << "no band before a move";
  OnOverlayMove(s, 500, 400, 96);
  EXPECT_EQ(OverlayRepaint(s, {450, 350, 700, 700}),
            (Draws{Draw::FillErase({450, 350, 700, 700}), Draw::FillBand({450, 350, 500, 400})}));
  EXPECT_EQ(OverlayRepaint(s, {250, 150, 320, 210}),
            (Draws{Draw::FillErase({250, 150, 320, 210}), Draw::FillBand({300, 200, 320, 210}),
                   Draw::DrawLabel(308, 184, "200x200")}));
}

}  // namespace
}  // namespace kmrn
