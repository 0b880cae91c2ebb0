#include "framework/dpi_scale.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

TEST(ScaleForDpi, RoundsHalfAwayFromZeroAsTheSystemDoes) {
  EXPECT_EQ(ScaleForDpi(302, 96), 302);
  EXPECT_EQ(ScaleForDpi(36, 168), 63);
  EXPECT_EQ(ScaleForDpi(1, 144), 2);      // 1.5
  EXPECT_EQ(ScaleForDpi(-1, 144), -2);    // -1.5
  EXPECT_EQ(ScaleForDpi(302, 120), 378);  // 377.5
  EXPECT_EQ(ScaleForDpi(5, 120), 6);      // 6.25
  EXPECT_EQ(ScaleForDpi(-5, 120), -6);
  EXPECT_EQ(ScaleForDpi(-12, 144), -18);
}

}  // namespace
}  // namespace kmrn
