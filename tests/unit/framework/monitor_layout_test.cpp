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
}

TEST(MonitorLayout, APointOrARectangleBelongsToItsMonitorOrTheNearest) {
  EXPECT_EQ(MonitorAt(Row, {0, 0}), 0u);
  EXPECT_EQ(MonitorAt(Row, {-1, 0}), 1u);
  EXPECT_EQ(MonitorAt(Row, {1920, -200}), 2u);
  // Below the left monitor's shorter height: on no monitor, nearest to it by a pixel.
  EXPECT_EQ(MonitorAt(Row, {-2, 1024}), 1u);
  EXPECT_EQ(MonitorAt(Row, {1000, -100}), 0u);  // above the primary, 100 px from it, 920 from the 4K one
  EXPECT_EQ(Row[MonitorAt(Row, {5000, 1500})].dpi, 144);

  // A band across two monitors goes to the one with the larger part, whatever their sizes.
  EXPECT_EQ(MonitorOf(Row, {-100, 10, 101, 20}), 0u);
  EXPECT_EQ(MonitorOf(Row, {1900, 900, 1990, 1070}), 2u);  // 20x170 on the primary, 70x170 on the 4K one
  EXPECT_EQ(MonitorOf(Row, {1850, 900, 1930, 1070}), 0u);
  EXPECT_EQ(MonitorOf(Row, {-1280, 1024, -1000, 1080}), 1u);  // on no monitor: the nearest to its centre
  EXPECT_EQ(MonitorOf(Stack, {0, -900, 1920, 1080}), 0u);
}

std::int64_t Area(const ScreenRect& r) { return IsEmpty(r) ? 0 : std::int64_t{r.Width()} * r.Height(); }

ScreenRect Common(const ScreenRect& a, const ScreenRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

TEST(MonitorLayout, ThePartsOnNoMonitorAreExactlyWhatNoMonitorCovers) {
  // A band across the left monitor's lower edge and the primary: below the shorter one only.
  EXPECT_EQ(PartsOnNoMonitor(Row, {-100, 1000, 100, 1080}), (std::vector<ScreenRect>{{-100, 1024, 0, 1080}}));
  EXPECT_TRUE(PartsOnNoMonitor(Row, {10, 10, 3000, 900}).empty());  // across two, wholly on them
  EXPECT_EQ(PartsOnNoMonitor(Row, {-1280, 1100, -1000, 1200}), (std::vector<ScreenRect>{{-1280, 1100, -1000, 1200}}));

  // The whole virtual screen, and a band through all three beyond its ends: the parts lie in the rectangle, on no
  // monitor and on no other part, and add up to what the monitors leave of it.
  const struct {
    const MonitorLayout& layout;
    ScreenRect rect;
  } kCases[] = {{Row, VirtualScreen(Row)}, {Row, {-1300, -250, 5800, 1100}}, {Stack, VirtualScreen(Stack)}};
  for (const auto& [layout, rect] : kCases) {
    SCOPED_TRACE(testing::Message() << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom);
    const std::vector<ScreenRect> parts = PartsOnNoMonitor(layout, rect);
    std::int64_t covered = 0, off = 0;
    for (const Monitor& monitor : layout) covered += Area(Common(monitor.bounds, rect));
    for (std::size_t i = 0; i < parts.size(); ++i) {
      EXPECT_EQ(Common(parts[i], rect), parts[i]);
      for (const Monitor& monitor : layout) EXPECT_EQ(Area(Common(parts[i], monitor.bounds)), 0);
      for (std::size_t j = i + 1; j < parts.size(); ++j) EXPECT_EQ(Area(Common(parts[i], parts[j])), 0);
      off += Area(parts[i]);
    }
    EXPECT_EQ(off, Area(rect) - covered);
    EXPECT_GT(off, 0);
  }
}

TEST(MonitorLayout, AWindowIsKeptWhollyInsideAnAreaOrStartsAtItsTopLeft) {
  const ScreenRect area{-1280, 0, 0, 984};
  EXPECT_EQ(KeepInside({-100, 900}, {300, 200}, area), (Position{-300, 784}));
  EXPECT_EQ(KeepInside({-2000, -50}, {300, 200}, area), (Position{-1280, 0}));
  EXPECT_EQ(KeepInside({-100, 500}, {1300, 1000}, area), (Position{-1280, 0}));
  EXPECT_EQ(KeepInside({INT32_MAX, INT32_MIN}, {300, 200}, area), (Position{-300, 0}));
}

}  // namespace
}  // namespace kmrn
