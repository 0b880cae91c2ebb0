#include "viewer/closed_viewers.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "picture/dib.h"
#include "picture/picture_transform.h"

namespace kmrn {
namespace {

Dib Numbered(int width, int height) {
  Dib dib = MakeDib(width, height, 24);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = dib.RowFromTop(y) + 3 * x;
      p[0] = static_cast<std::uint8_t>(x);
      p[1] = static_cast<std::uint8_t>(y);
      p[2] = static_cast<std::uint8_t>(x * 7 + y);
    }
  }
  return dib;
}

void Apply(ViewerCommand command, Dib& picture) {
  switch (command) {
    case ViewerCommand::MirrorLeftRight: MirrorLeftRight(picture); break;
    case ViewerCommand::MirrorTopBottom: MirrorTopBottom(picture); break;
    case ViewerCommand::RotateClockwise: picture = RotateClockwise(picture); break;
    default: break;
  }
}

// However the user turned and mirrored a picture, the reduced orientation replayed on the
// original (mirror first, then the turns) gives exactly the same pixels, in at most four steps.
TEST(ViewOrientation, ReplayingTheReducedOrientationGivesThePictureAsTheCommandsLeftIt) {
  const ViewerCommand commands[] = {ViewerCommand::MirrorLeftRight, ViewerCommand::MirrorTopBottom,
                                    ViewerCommand::RotateClockwise, ViewerCommand::Copy};
  std::mt19937 random(7);
  const Dib original = Numbered(5, 3);
  for (int run = 0; run < 200; ++run) {
    Dib edited = original;
    ViewOrientation orientation;
    std::string done;
    const int length = run % 9;
    for (int i = 0; i < length; ++i) {
      const ViewerCommand command = commands[random() % 4];
      Apply(command, edited);
      orientation.Then(command);
      done += std::to_string(static_cast<int>(command)) + " ";
    }
    SCOPED_TRACE(done);
    Dib replayed = original;
    if (orientation.mirrored) MirrorLeftRight(replayed);
    for (int turn = 0; turn < orientation.quarterTurns; ++turn) replayed = RotateClockwise(replayed);
    ASSERT_EQ(replayed.width, edited.width);
    ASSERT_EQ(replayed.height, edited.height);
    // A picture never turned keeps its depth, and so does its replay.
    ASSERT_EQ(ToBgr24(replayed).bits, ToBgr24(edited).bits);
  }
}

// The newest comes back first; the limit lets the oldest go, also when it is lowered, and a limit
// of 0 keeps nothing.
TEST(ClosedViewers, TheNewestComesBackFirstAndTheLimitLetsTheOldestGo) {
  ClosedViewers<int> closed(3);
  for (int i = 1; i <= 5; ++i) closed.Add(i);
  ASSERT_EQ(closed.Size(), 3u);
  EXPECT_EQ(closed.TakeNewest(), 5);
  closed.Add(6);
  closed.SetCapacity(2);
  std::vector<int> left;
  closed.ForEach([&](int kept) { left.push_back(kept); });
  EXPECT_EQ(left, (std::vector<int>{4, 6}));
  EXPECT_EQ(closed.TakeNewest(), 6);
  EXPECT_EQ(closed.TakeNewest(), 4);
  EXPECT_TRUE(closed.Empty());
  ClosedViewers<int> none(0);
  none.Add(1);
  EXPECT_TRUE(none.Empty());
}

}  // namespace
}  // namespace kmrn
