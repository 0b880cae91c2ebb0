#include "viewer/viewer_fade.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

TEST(ViewerFade, CloseDecision) {
  EXPECT_EQ(DecideViewerClose(true, true, false), CloseDecision::HideOnly);
  EXPECT_EQ(DecideViewerClose(false, true, false), CloseDecision::StartFade);
  EXPECT_EQ(DecideViewerClose(false, true, true), CloseDecision::Final);
  EXPECT_EQ(DecideViewerClose(false, false, false), CloseDecision::Final);
}

TEST(ViewerFade, FadesByTwentyAndEndsAtTheThirteenthTick) {
  FadeTick tick{FadeStartAlpha, false};
  int ticks = 0;
  std::int32_t last = 0;
  do {
    last = tick.alpha;
    tick = AdvanceFade(tick.alpha);
    ++ticks;
  } while (!tick.done);
  EXPECT_EQ(ticks, 13);
  EXPECT_EQ(last, 15);
}

}  // namespace
}  // namespace kmrn
