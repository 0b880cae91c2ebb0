#include "shell/main_window_commands.h"

#include <gtest/gtest.h>

#include "shell/main_window_layout.h"

namespace kmrn {
namespace {

TEST(MainWindowCommands, AModeButtonSwitchesOnlyFromTheOtherModeAndMenusCommandWithCodeZero) {
  using A = MainWindowAction;
  const struct {
    std::uint16_t id, code;
    bool rangeOn;
    A action;
  } kCases[] = {
      {Id(MC::RangeModeRadio), ButtonClicked, false, A::ToRangeMode},
      {Id(MC::RangeModeRadio), ButtonClicked, true, A::None},
      {Id(MC::WindowModeRadio), ButtonDoubleClicked, false, A::RefillWindowList},
      {Id(MC::WindowList), ListDoubleClicked, false, A::BringListedWindowForward},
      {Id(MC::SaveBmpCheck), ButtonClicked, true, A::None},
      {Id(MainCommand::CaptureSamePlace), 0, true, A::MenuCommand},
      {Id(MainCommand::Exit), 1, true, A::None},  // an accelerator's code
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ActionForCommand(c.id, c.code, c.rangeOn, !c.rangeOn), c.action) << c.id << " code " << c.code;
  }
}

}  // namespace
}  // namespace kmrn
