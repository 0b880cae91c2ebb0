#include "shell/main_window_commands.h"

#include <gtest/gtest.h>

#include "shell/main_window_layout.h"

namespace kmrn {
namespace {

constexpr std::uint16_t ButtonSetFocus = 6;  // BN_SETFOCUS, which the mode buttons send too

TEST(MainWindowCommands, ModeButtonsSwitchOnlyFromTheOtherModeAndMenuCommandsComeWithCodeZero) {
  using A = MainWindowAction;
  const struct {
    MainControl control;
    std::uint16_t code;
    bool rangeOn;
    A action;
  } kCases[] = {
      {MainControl::Btn_Capture, ButtonClicked, true, A::Capture},
      {MainControl::Btn_Capture, ButtonSetFocus, true, A::None},
      {MainControl::RadioButton_Range, ButtonClicked, false, A::ToRangeMode},
      {MainControl::RadioButton_Range, ButtonClicked, true, A::None},
      {MainControl::RadioButton_Range, ButtonDoubleClicked, true, A::None},
      {MainControl::RadioButton_Window, ButtonClicked, true, A::ToWindowMode},
      {MainControl::RadioButton_Window, ButtonClicked, false, A::None},
      {MainControl::RadioButton_Window, ButtonDoubleClicked, false, A::RefillWindowList},
      {MainControl::RadioButton_Window, ButtonSetFocus, true, A::None},
      {MainControl::ListBox_TopWindows, ListDoubleClicked, false, A::BringListedWindowForward},
      {MainControl::ListBox_TopWindows, 1, false, A::None},  // LBN_SELCHANGE
      {MainControl::CheckBox_BMP, ButtonClicked, true, A::None},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ActionForCommand(Id(c.control), c.code, c.rangeOn, !c.rangeOn), c.action)
        << Id(c.control) << " code " << c.code;
  }
  EXPECT_EQ(ActionForCommand(Id(MainCommand::CaptureSamePlace), 0, true, false), A::MenuCommand);
  EXPECT_EQ(ActionForCommand(Id(MainCommand::RefreshWindowList), 0, false, true), A::MenuCommand);
  EXPECT_EQ(ActionForCommand(Id(MainCommand::Exit), 1, true, false), A::None) << "an accelerator's code";
}

}  // namespace
}  // namespace kmrn
