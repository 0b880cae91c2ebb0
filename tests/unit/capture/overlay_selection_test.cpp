#include "capture/overlay_selection.h"

#include <gtest/gtest.h>

#include <vector>

namespace kmrn {
namespace {

using Draw = OverlayDraw;
using Draws = std::vector<OverlayDraw>;
constexpr PixelSize kOverlay{1920, 1080};

struct Point {
  std::int32_t x, y;
};

// Shows the overlay, drags from the anchor through the moves and releases `button`.
OverlayStep Drag(OverlaySelection& s, Point anchor, const std::vector<Point>& moves, const TSettings& settings,
                 MouseButton button = MouseButton::Left, bool mainWasVisible = true) {
  OnOverlayShown(s);
  OnOverlayPress(s, MouseButton::Left, anchor.x, anchor.y);
  for (Point p : moves) OnOverlayMove(s, p.x, p.y, settings);
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
    const OverlayStep step = Drag(s, c.anchor, c.moves, TSettings{}, c.button);
    EXPECT_EQ(step.capture, c.capture);
    EXPECT_EQ(step.draws, Draws{Draw::FillErase({0, 0, 1920, 1080})});  // blank for the next showing
    EXPECT_TRUE(step.hideOverlay && step.showMainWindow && step.showHiddenViewers);
    EXPECT_EQ(s.State, OverlayState::Hidden);
  }
}

TEST(OverlaySelection, LeftReleaseWithoutPressDoesNotRetakeThePreviousSelection) {
  OverlaySelection s;
  ASSERT_TRUE(Drag(s, {0, 0}, {{300, 300}}, TSettings{}).capture);
  OnOverlayShown(s);
  EXPECT_FALSE(OnOverlayRelease(s, MouseButton::Left, {TSettings{}, true, kOverlay}).capture);
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
    TSettings settings;
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

TEST(OverlaySelection, EscCancelsAndShowsTheMainWindowButNotTheViewers) {
  TSettings settings;
  settings.CloseAfterCapture = true;  // a release would keep the main window hidden
  OverlaySelection s;
  OnOverlayShown(s);
  OnOverlayPress(s, MouseButton::Left, 10, 10);
  OnOverlayMove(s, 400, 400, settings);
  EXPECT_TRUE(OnOverlayKeyPress(s, 'a', kOverlay).draws.empty());

  const OverlayStep step = OnOverlayKeyPress(s, EscapeKey, kOverlay);
  EXPECT_EQ(step.draws, Draws{Draw::FillErase({0, 0, 1920, 1080})});
  EXPECT_TRUE(step.hideOverlay && step.showMainWindow);
  EXPECT_FALSE(step.capture || step.showHiddenViewers);

  // A release that follows reaches a hidden overlay and does nothing.
  const OverlayStep late = OnOverlayRelease(s, MouseButton::Left, {settings, true, kOverlay});
  EXPECT_FALSE(late.capture || late.hideOverlay || late.showMainWindow || late.showHiddenViewers);
}

TEST(OverlaySelection, DrawsIncrementallyWhileDragging) {
  OverlaySelection s;
  OnOverlayShown(s);
  OnOverlayMove(s, 200, 100, TSettings{});
  OnOverlayPress(s, MouseButton::Left, 200, 100);

  // The first move erases only the hover label; there is no band yet.
  const OverlayStep first = OnOverlayMove(s, 150, 160, TSettings{});
  EXPECT_TRUE(first.raiseTopMost);
  EXPECT_EQ(first.draws, (Draws{Draw::FillErase({200, 84, 300, 100}), Draw::FillBand({150, 100, 200, 160}),
                                Draw::DrawLabel(158, 84, "50x60")}));

  EXPECT_EQ(OnOverlayMove(s, 260, 130, TSettings{}).draws,
            (Draws{Draw::FillErase({150, 100, 200, 160}), Draw::FillErase({150, 84, 250, 100}),
                   Draw::FillBand({200, 100, 260, 130}), Draw::DrawLabel(208, 84, "60x30")}));
}

TEST(OverlaySelection, DisplayOffsets) {
  const struct {
    const char* name;
    bool enable;
    std::int32_t sx, sy;
    const char* label;  // hovering at client (0, 20)
    PixelRect capture;  // dragged from client (0, 20) to (400, 320)
  } kCases[] = {
      {"one display", false, 0, 0, "0,20", {0, 20, 400, 300}},
      {"secondary left", true, -1280, 0, "-1280,20", {-1280, 20, 400, 300}},
      {"secondary above", true, 0, -1024, "0,-1004", {0, -1004, 400, 300}},
      {"switched off: the label still shifts", false, -1280, -200, "-1280,-180", {0, 20, 400, 300}},
      {"secondary right: no offset", true, 1920, 0, "0,20", {0, 20, 400, 300}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    TSettings settings;
    settings.mDisplay_Enable = c.enable;
    settings.mDisplay_SX = c.sx;
    settings.mDisplay_SY = c.sy;
    OverlaySelection s;
    OnOverlayShown(s);
    OnOverlayMove(s, 50, 50, settings);
    EXPECT_EQ(OnOverlayMove(s, 0, 20, settings).draws,
              (Draws{Draw::FillErase({50, 34, 150, 50}), Draw::DrawLabel(8, 4, c.label)}));
    EXPECT_EQ(Drag(s, {0, 20}, {{400, 320}}, settings).capture, c.capture);
  }
}

}  // namespace
}  // namespace kmrn
