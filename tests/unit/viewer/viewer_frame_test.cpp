#include "viewer/viewer_frame.h"

#include <gtest/gtest.h>

#include <limits>

namespace kmrn {
namespace {

TEST(ViewerFrame, WidthComesFromTheSettingButIsNeverNegative) {
  EXPECT_EQ(ViewerFrameWidth(2), 2);
  EXPECT_EQ(ViewerFrameWidth(0), 0);
  EXPECT_EQ(ViewerFrameWidth(-5), 0);
  EXPECT_EQ(ViewerFrameWidth(std::numeric_limits<std::int32_t>::min()), 0);
}

TEST(ViewerFrame, OuterSizeIsPicturePlusTheFrameOnEverySide) {
  EXPECT_EQ(ViewerOuterSize({101, 51}, 2), (PixelSize{105, 55}));
  EXPECT_EQ(ViewerOuterSize({101, 51}, 0), (PixelSize{101, 51}));
  EXPECT_EQ(ViewerOuterSize({101, 51}, -3), (PixelSize{101, 51}));
  constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(ViewerOuterSize({Max - 1, 1}, Max), (PixelSize{Max, Max}));  // saturates, never wraps
}

TEST(ViewerFrame, ClientAreaIsTheWindowLessTheFrame) {
  EXPECT_EQ(ViewerClientRect({100, 200, 205, 255}, 2), (ScreenRect{102, 202, 203, 253}));
  EXPECT_EQ(ViewerClientRect({-50, -40, 10, 20}, 0), (ScreenRect{-50, -40, 10, 20}));
  // Too small for its frame: empty, not inverted.
  const ScreenRect tiny = ViewerClientRect({0, 0, 10, 7}, 6);
  EXPECT_EQ(tiny.Size(), (PixelSize{0, 0}));
  EXPECT_TRUE(IsEmpty(tiny));
  const ScreenRect huge = ViewerClientRect({-10, -10, 10, 10}, std::numeric_limits<std::int32_t>::max());
  EXPECT_GE(huge.right, huge.left);
  EXPECT_GE(huge.bottom, huge.top);
}

}  // namespace
}  // namespace kmrn
