#include "framework/window_magnet.h"

#include <gtest/gtest.h>

#include <vector>

namespace kmrn {
namespace {

const MagnetLines kLines{{0, 0, 1920, 1040}, 20, std::nullopt, {0, 0}};

TEST(WindowMagnet, ScreenEdgesPullWithinTheDistanceStrictly) {
  const struct {
    const char* name;
    std::int32_t x;
    std::int32_t width;
    std::int32_t viewerX, mainX;
  } kCases[] = {
      {"15 from the left edge", 15, 400, 0, 0},
      {"exactly 20 away stays", 20, 400, 20, 20},
      {"19 beyond the left edge", -19, 400, 0, 0},
      {"near the right edge", 1510, 400, 1520, 1520},
      // Both lines within reach: a viewer pulls to R - W first and 0 last, the main window the other way.
      {"nearly as wide as the work area", 5, 1910, 0, 10},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SnapViewer({c.x, 500}, {c.width, 100}, kLines, {}).left, c.viewerX);
    EXPECT_EQ(SnapMainWindow({c.x, 500}, {c.width, 100}, kLines).left, c.mainX);
  }
  EXPECT_EQ(SnapViewer({300, 955}, {400, 100}, kLines, {}).top, 940) << "bottom edge to the work area's bottom";
  MagnetLines dual = kLines;
  dual.secondaryX = 1280;
  EXPECT_EQ(SnapViewer({1290, 500}, {400, 100}, dual, {}).left, 1280);
  for (std::int32_t distance : {0, 1, -50}) {
    MagnetLines off = kLines;
    off.distance = distance;
    EXPECT_EQ(SnapViewer({1, 1}, {400, 100}, off, {}), (Position{1, 1})) << distance;
  }
  MagnetLines far = kLines;
  far.distance = 100000;  // pulls from anywhere; the last line in the order wins
  EXPECT_EQ(SnapViewer({700, 700}, {400, 100}, far, {}), (Position{0, 0}));
  EXPECT_EQ(SnapMainWindow({700, 700}, {400, 100}, far), (Position{1520, 940}));
}

TEST(WindowMagnet, ViewersSnapToTheEdgesOfTheOtherViewers) {
  const std::vector<ScreenRect> a{{100, 100, 500, 400}};
  EXPECT_EQ(SnapViewer({510, 150}, {300, 200}, kLines, a), (Position{500, 150})) << "left edge to A's right edge";
  EXPECT_EQ(SnapViewer({510, 110}, {300, 200}, kLines, a), (Position{500, 100})) << "and top-aligned";
  EXPECT_EQ(SnapViewer({-190, 150}, {300, 200}, kLines, a).left, -200) << "right edge to A's left edge";
  EXPECT_EQ(SnapViewer({510, 600}, {300, 200}, kLines, a), (Position{510, 600})) << "far below A: nothing";
  // Among several viewers a later slot wins.
  const std::vector<ScreenRect> two{{100, 100, 500, 400}, {505, 100, 700, 400}};
  EXPECT_EQ(SnapViewer({510, 150}, {300, 200}, kLines, two).left, 505);
}

}  // namespace
}  // namespace kmrn
