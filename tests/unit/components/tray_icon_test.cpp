#include "components/tray_icon.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

// The shell reports presses, releases and double clicks of every button; only the three releases
// the program has a handler for do anything, so a press never runs a handler twice with its release.
TEST(TrayIcon, OnlyTheReleasesWithAHandlerAct) {
  const TrayReactions all{true, true, true};
  EXPECT_EQ(TrayActionFor(TrayLeftUp, all), TrayAction::LeftButtonUp);
  EXPECT_EQ(TrayActionFor(TrayMiddleUp, all), TrayAction::MiddleButtonUp);
  EXPECT_EQ(TrayActionFor(TrayRightUp, all), TrayAction::PopupMenu);
  for (const std::uint32_t other :
       {TrayLeftDown, TrayLeftDoubleClick, TrayRightDown, TrayMiddleDown, std::uint32_t{0x0200}}) {
    EXPECT_EQ(TrayActionFor(other, all), TrayAction::None) << other;
  }
  EXPECT_EQ(TrayActionFor(TrayLeftUp, {false, true, true}), TrayAction::None);
  EXPECT_EQ(TrayActionFor(TrayMiddleUp, {true, false, true}), TrayAction::None);
  EXPECT_EQ(TrayActionFor(TrayRightUp, {true, true, false}), TrayAction::None);
}

}  // namespace
}  // namespace kmrn
