#include "framework/monitor_layout.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

Monitor At(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height, int dpi = 96) {
  const ScreenRect bounds{left, top, left + width, top + height};
  return {bounds, {bounds.left, bounds.top, bounds.right, bounds.bottom - 40}, dpi};
}

// Three in a row of different heights, the primary in the middle, one to its left at negative x
// and a 4K one at 150 % to its right; and one above, at negative y.
const MonitorLayout Row{At(0, 0, 1920, 1080), At(-1280, 0, 1280, 1024), At(1920, -200, 3840, 2160, 144)};
const MonitorLayout Stack{At(0, 0, 1920, 1080), At(320, -900, 1600, 900)};

TEST(MonitorLayout, TheVirtualScreenHoldsEveryMonitorWhateverTheirPlaces) {
  EXPECT_EQ(VirtualScreen(Row), (ScreenRect{-1280, -200, 5760, 1960}));
  EXPECT_EQ(VirtualScreen(Stack), (ScreenRect{0, -900, 1920, 1080}));
  EXPECT_EQ(VirtualScreen(MonitorLayout{}), ScreenRect{});
  EXPECT_EQ(VirtualScreen(MonitorLayout{At(0, 0, 1920, 1080)}), (ScreenRect{0, 0, 1920, 1080}));
}

TEST(MonitorLayout, APointOrARectangleBelongsToItsMonitorOrTheNearest) {
  EXPECT_EQ(MonitorAt(Row, {0, 0}), 0u);
  EXPECT_EQ(MonitorAt(Row, {-1, 0}), 1u);
  EXPECT_EQ(MonitorAt(Row, {1920, -200}), 2u);
  EXPECT_EQ(MonitorAt(Row, {-1280, 1023}), 1u);
  // Below the left monitor's shorter height: on no monitor, nearest to it by a pixel.
  EXPECT_EQ(MonitorAt(Row, {-2, 1024}), 1u);
  EXPECT_EQ(MonitorAt(Row, {1000, -100}), 0u);  // above the primary, 100 px from it, 920 from the 4K one
  EXPECT_EQ(Row[MonitorAt(Row, {5000, 1500})].dpi, 144);
  EXPECT_EQ(MonitorAt(Stack, {1000, -1}), 1u);

  // A band across two monitors goes to the one with the larger part, whatever their sizes.
  EXPECT_EQ(MonitorOf(Row, {-100, 10, 50, 20}), 1u);
  EXPECT_EQ(MonitorOf(Row, {-100, 10, 101, 20}), 0u);
  EXPECT_EQ(MonitorOf(Row, {1900, 900, 1990, 1070}), 2u);  // 20x170 on the primary, 70x170 on the 4K one
  EXPECT_EQ(MonitorOf(Row, {1850, 900, 1930, 1070}), 0u);
  EXPECT_EQ(MonitorOf(Row, {-1280, 1024, -1000, 1080}), 1u);  // on no monitor: the nearest to its centre
  EXPECT_EQ(MonitorOf(Stack, {0, -900, 1920, 1080}), 0u);
}

TEST(MonitorLayout, AWindowIsKeptWhollyInsideAnAreaOrStartsAtItsTopLeft) {
  const ScreenRect area{-1280, 0, 0, 984};
  EXPECT_EQ(KeepInside({-900, 100}, {300, 200}, area), (Position{-900, 100}));
  EXPECT_EQ(KeepInside({-100, 900}, {300, 200}, area), (Position{-300, 784}));
  EXPECT_EQ(KeepInside({-2000, -50}, {300, 200}, area), (Position{-1280, 0}));
  EXPECT_EQ(KeepInside({-100, 500}, {1300, 1000}, area), (Position{-1280, 0}));
  EXPECT_EQ(KeepInside({INT32_MAX, INT32_MIN}, {300, 200}, area), (Position{-300, 0}));
}

}  // namespace
}  // namespace kmrn
