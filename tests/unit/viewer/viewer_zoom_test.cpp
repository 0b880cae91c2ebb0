#include "viewer/viewer_zoom.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

TEST(ViewerZoom, WheelStepsStopAtTheEnds) {
  EXPECT_EQ(WheelZoomLevel(1, WheelDirection::Up, true), 2);
  EXPECT_EQ(WheelZoomLevel(2, WheelDirection::Up, true), std::nullopt);
  EXPECT_EQ(WheelZoomLevel(-1, WheelDirection::Down, true), -2);
  EXPECT_EQ(WheelZoomLevel(-2, WheelDirection::Down, true), std::nullopt);
  EXPECT_EQ(WheelZoomLevel(0, WheelDirection::Up, false), std::nullopt);
  EXPECT_EQ(WheelZoomLevel(0, WheelDirection::Down, false), std::nullopt);
}

TEST(ViewerZoom, SizeCaptionAndStretchByLevel) {
  const struct {
    int level;
    PixelSize size;  // of a 101 x 51 picture
    const char* caption;
    StretchQuality quality;
  } kCases[] = {
      {-2, {25, 12}, " 25% ", StretchQuality::Averaging},    {-1, {50, 25}, " 50% ", StretchQuality::Averaging},
      {0, {101, 51}, " 100% ", StretchQuality::PixelExact},  {1, {202, 102}, " 200% ", StretchQuality::PixelExact},
      {2, {404, 204}, " 400% ", StretchQuality::PixelExact},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.level);
    EXPECT_EQ(ZoomedPictureSize({101, 51}, c.level), c.size);
    EXPECT_STREQ(ZoomLabelCaption(c.level), c.caption);
    EXPECT_EQ(StretchQualityForLevel(c.level), c.quality);
  }
  EXPECT_EQ(ZoomedPictureSize({3, 1}, -2), (PixelSize{1, 1}));  // never an empty picture
}

TEST(ViewerZoom, PicturesBeyondTheLimitAreRefused) {
  EXPECT_TRUE(ZoomedPictureAllowed(ZoomedPictureSize({1920, 1080}, 2)));
  EXPECT_TRUE(ZoomedPictureAllowed(ZoomedPictureSize({3 * 3840, 2160}, 0)));
  EXPECT_FALSE(ZoomedPictureAllowed(ZoomedPictureSize({3 * 3840, 2160}, 1)));
  EXPECT_FALSE(ZoomedPictureAllowed(ZoomedPictureSize({2147483647, 1}, 2)));
}

TEST(ViewerZoom, WindowPositionUsesOldOuterAndNewPictureSize) {
  // A 101 x 51 picture in a 2-pixel frame (105 x 55 outside) at (300, 200), zoomed to 50 % and back.
  EXPECT_EQ(ZoomedWindowPosition({300, 200}, {105, 55}, {50, 25}), (Position{327, 215}));
  // -47 / 2 truncates toward zero, to -23.
  EXPECT_EQ(ZoomedWindowPosition({327, 215}, {54, 29}, {101, 51}), (Position{304, 204}));
}

TEST(ViewerZoom, LabelTextContrastsWithTheFrame) {
  EXPECT_EQ(ZoomLabelTextColor(0x000000), 0xFFFFFFu);  // black frame
  EXPECT_EQ(ZoomLabelTextColor(0xFF8080), 0x000000u);  // the default: (128 + 128 + 255) / 3 = 170
  EXPECT_EQ(ZoomLabelTextColor(0x7F7F7F), 0x000000u);  // 127
  EXPECT_EQ(ZoomLabelTextColor(0x7E7F7F), 0xFFFFFFu);  // (127 + 127 + 126) / 3 = 126
}

TEST(ViewerZoom, LabelStandsStillThenSlidesOut) {
  ZoomLabel label;
  for (int tick = 1; tick <= 50; ++tick) ASSERT_TRUE(AdvanceZoomLabel(label, 30));
  EXPECT_EQ(label.left, 0);
  int ticks = 51;
  while (AdvanceZoomLabel(label, 30)) ++ticks;
  EXPECT_EQ(ticks, 81);  // at -30 the label still touches the window, at -31 it has gone
  EXPECT_EQ(label.left, -31);
}

}  // namespace
}  // namespace kmrn
