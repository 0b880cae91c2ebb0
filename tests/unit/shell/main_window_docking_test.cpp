#include "shell/main_window_docking.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

// A 26-pixel caption and 3-pixel borders: 65 pixels high in range mode, 222 in window mode.
const MainWindowHeights kHeights = MainWindowHeightsWithFrame(29);
constexpr std::int32_t kBottom = 1040;

std::int32_t ToWindowMode(std::int32_t top) { return TopForWindowMode(top, kHeights, kBottom); }
std::int32_t ToRangeMode(std::int32_t top) { return TopForRangeMode(top, kHeights.windowMode, kHeights, kBottom); }

TEST(MainWindowDocking, ModeSwitches) {
  // Docked at the bottom: grows upward and shrinks back down.
  EXPECT_EQ(ToWindowMode(kBottom - 65), kBottom - 222);
  EXPECT_EQ(ToRangeMode(kBottom - 222), kBottom - 65);
  // In the middle of the screen the top stays.
  EXPECT_EQ(ToWindowMode(300), 300);
  EXPECT_EQ(ToRangeMode(300), 300);
  // Window mode that would end below the work area moves up; one pixel above is left alone.
  EXPECT_EQ(ToWindowMode(900), kBottom - 222);
  EXPECT_EQ(ToWindowMode(kBottom - 223), kBottom - 223);
  EXPECT_EQ(ToRangeMode(kBottom - 223), kBottom - 223);
}

}  // namespace
}  // namespace kmrn
