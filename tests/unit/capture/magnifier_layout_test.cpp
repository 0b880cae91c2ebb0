#include "capture/magnifier_layout.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

bool Contains(const ScreenRect& r, Position p) {
  return p.left >= r.left && p.left < r.right && p.top >= r.top && p.top < r.bottom;
}
bool Within(const ScreenRect& inner, const ScreenRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST(MagnifierLayout, BoxSitsBesideThePointerFlippingAtTheRightAndBottomEdges) {
  const ScreenRect monitor{0, 0, 1920, 1080};
  const PixelSize size = MagnifierLook{}.BoxSize();
  ASSERT_EQ(size, (PixelSize{129, 165}));
  const struct {
    const char* name;
    Position pointer;
    ScreenRect box;
  } kCases[] = {
      {"below right", {500, 300}, {516, 316, 645, 481}},
      {"top-left corner", {0, 0}, {16, 16, 145, 181}},
      {"near the right edge: left", {1800, 300}, {1655, 316, 1784, 481}},
      {"near the bottom edge: above", {500, 1000}, {516, 819, 645, 984}},
      {"bottom-right corner: above left", {1919, 1079}, {1774, 898, 1903, 1063}},
      {"just fits right", {1775, 300}, {1791, 316, 1920, 481}},
      {"one pixel short: left", {1776, 300}, {1631, 316, 1760, 481}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MagnifierBox(c.pointer, monitor, size), c.box);
  }

  // Anywhere on either of two monitors, the box stays on the pointer's one and off the pointer.
  const ScreenRect monitors[] = {{0, 0, 1920, 1080}, {-1280, -200, 0, 824}};
  for (const ScreenRect& m : monitors) {
    for (std::int32_t x = m.left; x < m.right; x += 37) {
      for (std::int32_t y = m.top; y < m.bottom; y += 23) {
        const ScreenRect box = MagnifierBox({x, y}, m, size);
        ASSERT_TRUE(Within(box, m)) << x << "," << y;
        ASSERT_FALSE(Contains(box, {x, y})) << x << "," << y;
        ASSERT_EQ(box.Size(), size);
      }
    }
  }

  // A monitor smaller than the box: the box keeps to its top-left.
  EXPECT_EQ(MagnifierBox({50, 50}, {0, 0, 100, 100}, size), (ScreenRect{0, 0, 129, 165}));
}

TEST(MagnifierLayout, CellsShowThePixelsAroundThePointerClippedAtTheCopysEdges) {
  const PixelRect copy{-100, 50, 1000, 600};  // the screen area the copy holds
  const struct {
    const char* name;
    Position pointer;
    MagnifierSource expected;
  } kCases[] = {
      {"inside", {400, 300}, {{493, 243, 15, 15}, 0, 0}},
      {"at the copy's top-left pixel", {-100, 50}, {{0, 0, 8, 8}, 7, 7}},
      {"at its bottom-right pixel", {899, 649}, {{992, 592, 8, 8}, 0, 0}},
      {"seven in from the left: all cells", {-93, 300}, {{0, 243, 15, 15}, 0, 0}},
      {"six in from the left: one column empty", {-94, 300}, {{0, 243, 14, 15}, 1, 0}},
      {"just beyond the right edge", {900, 300}, {{993, 243, 7, 15}, 0, 0}},
      {"far beyond", {5000, -5000}, {}},
      {"at the 32-bit edge", {2147483647, -2147483647 - 1}, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MagnifierSourceOf(c.pointer, copy), c.expected);
  }
}

TEST(MagnifierLayout, LookGrowsWithTheDpiAndTextsAreExact) {
  const MagnifierLook look = MagnifierLookAt(144);
  EXPECT_EQ(look.cellSide, 12);
  EXPECT_EQ(look.GridSide(), 181);
  // The centre cell of the default look lies inside the grid, clear of its lines.
  EXPECT_EQ(MagnifierLook{}.CellRect(7, 7), (ScreenRect{61, 61, 68, 68}));
  EXPECT_EQ(MagnifierPositionText({-1280, 1079}), "-1280,1079");
  EXPECT_EQ(MagnifierColourText(0x0A, 0xBC, 0xFF), "#0ABCFF");
  // The outline stands out: black on white, yellow and green, white on black, red and blue.
  EXPECT_TRUE(IsLightColour(255, 255, 255) && IsLightColour(255, 255, 0) && IsLightColour(0, 255, 0));
  EXPECT_FALSE(IsLightColour(0, 0, 0) || IsLightColour(0xB0, 0x18, 0x20) || IsLightColour(0, 0, 255));
}

}  // namespace
}  // namespace kmrn
