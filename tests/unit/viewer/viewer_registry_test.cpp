#include "viewer/viewer_registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kmrn {
namespace {

using Slots = ViewerSlots<std::unique_ptr<int>>;

TEST(ViewerSlots, ClosedViewersAreFreedOnlyOnceNoneIsOpen) {
  Slots slots;
  for (int id = 0; id < 3; ++id) slots.Append(std::make_unique<int>(id), 0x100 + id);
  slots.MarkClosed(0);
  slots.MarkClosed(2);
  EXPECT_EQ(slots.OpenViewerCount(), 1u);
  EXPECT_TRUE(slots.FreeClosedViewers().empty());  // one is still open: all three slots stay
  // The closed ones' objects can go before that; their slots stay, empty.
  const std::vector<std::unique_ptr<int>> taken = slots.TakeClosedViewers();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(*taken[0] + *taken[1], 2);
  EXPECT_TRUE(slots.TakeClosedViewers().empty());
  EXPECT_EQ(slots.ViewerSlotCount(), 3u);
  EXPECT_EQ(slots.Append(std::make_unique<int>(3), 0x103), 3u);

  std::vector<int> open;
  slots.ForEachOpen([&](std::unique_ptr<int>& viewer, std::uintptr_t) { open.push_back(*viewer); });
  EXPECT_EQ(open, (std::vector<int>{1, 3}));

  slots.MarkClosed(1);
  slots.MarkClosed(3);
  slots.MarkClosed(9);  // no such slot
  EXPECT_EQ(slots.FreeClosedViewers().size(), 4u);
  EXPECT_EQ(slots.ViewerSlotCount(), 0u);
  EXPECT_EQ(slots.Append(std::make_unique<int>(4), 0x104), 0u);
}

TEST(ViewerSlots, ViewersMadeDuringIterationAreNotVisited) {
  Slots slots;
  slots.Append(std::make_unique<int>(1), 0x101);
  int visits = 0;
  slots.ForEachOpen([&](std::unique_ptr<int>&, std::uintptr_t) {
    ++visits;
    for (int i = 0; i < 8; ++i) slots.Append(std::make_unique<int>(2), 0x102);  // reallocates the slots
  });
  EXPECT_EQ(visits, 1);
  EXPECT_EQ(slots.OpenViewerCount(), 9u);
}

}  // namespace
}  // namespace kmrn
