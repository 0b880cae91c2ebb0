// A long day of use: Kamerin worked through 500 captures (or as many as the first argument says)
// in every mode, printing what it holds after every 50 and, at the end, how far each figure moved
// after the first 50. The aim: GDI objects, USER objects and handles within 2 %, private bytes
// within 1 MiB. Then what the closed viewers the program keeps cost against their pictures as
// captured (the aim: at most a tenth). Runs under Wine on a display, as the end-to-end tests do.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "soak.h"

namespace {

int Captures = 500;
constexpr int Every = 50;

double Percent(long now, long then) { return then > 0 ? 100.0 * (now - then) / then : 0.0; }

TEST(Soak, ALongDay) {
  std::vector<e2e::SoakFigures> figures;
  const std::string failure = e2e::RunSoak(Captures, Every, [&](const e2e::SoakFigures& now) {
    std::printf("figure: soak_after_%d_captures %s\n", now.captures, e2e::Describe(now.use).c_str());
    std::fflush(stdout);
    figures.push_back(now);
  });
  ASSERT_EQ(failure, "");
  ASSERT_GE(figures.size(), 2u);
  const e2e::ResourceUse& first = figures.front().use;
  const e2e::ResourceUse& last = figures.back().use;
  std::printf("ratio: soak_gdi_growth_percent %.2f\n", Percent(last.gdiObjects, first.gdiObjects));
  std::printf("ratio: soak_user_growth_percent %.2f\n", Percent(last.userObjects, first.userObjects));
  std::printf("ratio: soak_handles_growth_percent %.2f\n", Percent(last.handles, first.handles));
  std::printf("figure: soak_private_growth %.2f MiB\n",
              static_cast<double>(last.privateBytes - first.privateBytes) / (1024.0 * 1024.0));
  double closedViewerCost = 0;
  ASSERT_EQ(e2e::MeasureClosedViewerCost(closedViewerCost), "");
  std::printf("ratio: closed_viewer_memory_to_capture %.3f\n", closedViewerCost);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) Captures = std::max(Every * 2, std::atoi(argv[1]));
  return RUN_ALL_TESTS();
}
