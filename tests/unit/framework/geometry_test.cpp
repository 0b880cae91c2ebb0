#include "framework/geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace kmrn {
namespace {

constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();

TEST(CentredIn, TheTwoWaysPlaceOddLengthsAPixelApart) {
  // 100 x 101, above and left of the primary screen; the top and bottom have a negative odd sum,
  // so the middle is not (top + bottom) / 2.
  const ScreenRect area{-101, -61, -1, 40};
  struct Case {
    const char* name;
    PixelSize size;
    Position middleLessHalf, halfTheRoom;
  };
  const Case kCases[] = {
      {"even in even, odd in odd: the same", {40, 51}, {-71, -36}, {-71, -36}},
      // 50 - 5 against 89 / 2 across; 50 - 5 against 91 / 2 down.
      {"odd in even, even in odd", {11, 10}, {-56, -16}, {-57, -16}},
      // Larger than the area: 50 - 52 against -3 / 2 (toward zero) down.
      {"overhanging", {100, 104}, {-101, -63}, {-101, -62}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CentredIn(c.size, area, Centring::MiddleLessHalf), c.middleLessHalf);
    EXPECT_EQ(CentredIn(c.size, area, Centring::HalfTheRoom), c.halfTheRoom);
    // The same area given by its left, top, width and height.
    EXPECT_EQ(CentredIn(c.size, PixelRect{-101, -61, 100, 101}, Centring::MiddleLessHalf), c.middleLessHalf);
    EXPECT_EQ(CentredIn(c.size, PixelRect{-101, -61, 100, 101}, Centring::HalfTheRoom), c.halfTheRoom);
  }
}

TEST(CentredIn, AreasBeyond32BitsStayInRange) {
  // The whole 32-bit range is 2^32 - 1 wide, which only 64 bits can say.
  EXPECT_EQ(CentredIn({0, 2}, ScreenRect{Min, Min, Max, Max}, Centring::MiddleLessHalf), (Position{-1, -2}));
  EXPECT_EQ(CentredIn({0, 2}, ScreenRect{Min, Min, Max, Max}, Centring::HalfTheRoom), (Position{-1, -2}));
  EXPECT_EQ(CentredIn({0, Max}, PixelRect{Max - 1, Min, 100, 0}, Centring::HalfTheRoom), (Position{Max, Min}));
}

TEST(ScreenRect, SizeAndConversionsSaturateAtThe32BitEdges) {
  const ScreenRect onLeftMonitor{-1280, -20, -200, 1004};
  EXPECT_EQ(onLeftMonitor.Size(), (PixelSize{1080, 1024}));
  EXPECT_EQ(onLeftMonitor.TopLeft(), (Position{-1280, -20}));
  EXPECT_EQ(ToPixelRect(onLeftMonitor), (PixelRect{-1280, -20, 1080, 1024}));
  EXPECT_EQ(ToScreenRect(ToPixelRect(onLeftMonitor)), onLeftMonitor);

  EXPECT_EQ((ScreenRect{Min, -1, Max, Max}.Size()), (PixelSize{Max, Max}));
  EXPECT_EQ((ScreenRect{Max, Max, Min, Min}.Size()), (PixelSize{Min, Min})) << "inverted";
  EXPECT_EQ(ToScreenRect(PixelRect{Max - 10, Min, 100, -1}), (ScreenRect{Max - 10, Min, Max, Min}));
}

}  // namespace
}  // namespace kmrn
