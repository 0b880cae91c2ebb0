// A short soak: fifty captures in every mode, with viewers and the settings dialog, after which
// the program holds what it held after the first ten (the long version is the soak program).

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "soak.h"

namespace e2e {
namespace {

TEST(Soak, FiftyCapturesLeaveNothingBehind) {
  std::vector<SoakFigures> figures;
  const std::string failure = RunSoak(50, 10, [&](const SoakFigures& now) {
    std::printf("after %d captures: %s\n", now.captures, Describe(now.use).c_str());
    figures.push_back(now);
  });
  ASSERT_EQ(failure, "");
  ASSERT_EQ(figures.size(), 5u);
  const ResourceUse& first = figures.front().use;
  ASSERT_GT(first.gdiObjects, 0);
  ASSERT_GT(first.userObjects, 0);
  ASSERT_GT(first.handles, 0);
  ASSERT_GT(first.privateBytes, 0);
  // Counts may wobble by an object or two while the last viewer's work settles.
  auto level = [](long now, long then) { return std::labs(now - then) <= std::max(2L, then / 50); };
  for (const SoakFigures& later : figures) {
    SCOPED_TRACE(later.captures);
    EXPECT_TRUE(level(later.use.gdiObjects, first.gdiObjects)) << Describe(later.use) << " vs " << Describe(first);
    EXPECT_TRUE(level(later.use.userObjects, first.userObjects)) << Describe(later.use) << " vs " << Describe(first);
    EXPECT_TRUE(level(later.use.handles, first.handles)) << Describe(later.use) << " vs " << Describe(first);
    EXPECT_LE(later.use.privateBytes - first.privateBytes, 1 << 20) << Describe(later.use) << " vs " << Describe(first);
  }
}

}  // namespace
}  // namespace e2e
