#include "components/tray_icon.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

TEST(TrayIcon, MouseMessagesRaiseOnlyTheReactionsThatAreThere) {
  const TrayReactions all{true, true, true, true, true};
  const struct {
    std::uint32_t message;
    TrayAction withAll;
  } kCases[] = {
      {TrayLeftDown, TrayAction::MouseDown},    {TrayLeftUp, TrayAction::MouseUp},
      {TrayMiddleDown, TrayAction::MiddleDown}, {TrayMiddleUp, TrayAction::MiddleUp},
      {TrayRightUp, TrayAction::PopupMenu},     {TrayRightDown, TrayAction::None},
      {TrayLeftDoubleClick, TrayAction::None},  {0x0200 /* a move */, TrayAction::None},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(TrayActionFor(c.message, all), c.withAll);
    EXPECT_EQ(TrayActionFor(c.message, TrayReactions{}), TrayAction::None);
  }
}

TEST(TrayIcon, IdentifiersRiseFromOneAndAreNeverUsedAgain) {
  int first = 0, second = 0;
  TrayIconRegistry<int> registry;
  EXPECT_EQ(registry.Add(&first), 1u);
  EXPECT_EQ(registry.Add(&second), 2u);
  registry.Remove(2);
  EXPECT_EQ(registry.Find(2), nullptr) << "a message for a removed icon reaches nobody";
  EXPECT_EQ(registry.Find(1), &first);
  EXPECT_EQ(registry.Add(&second), 3u);
}

}  // namespace
}  // namespace kmrn
