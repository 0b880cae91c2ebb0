#include "shell/main_window_commands.h"

#include "shell/main_window_layout.h"

namespace kmrn {
namespace {

bool IsMainCommand(std::uint16_t id) {
  switch (static_cast<MainCommand>(id)) {
    case MainCommand::AlwaysOnTop:
    case MainCommand::CaptureSamePlace:
    case MainCommand::OpenSettings:
    case MainCommand::Exit:
    case MainCommand::ShowClipboardPicture:
    case MainCommand::ReopenClosedViewer:
    case MainCommand::RefreshWindowList: return true;
  }
  return false;
}

}  // namespace

MainWindowAction ActionForCommand(std::uint16_t id, std::uint16_t code, bool rangeOn, bool windowOn) {
  // The controls' other notifications (a mode button's focus, say) do nothing; the button of the
  // mode that is on already does nothing either, so the window neither moves nor resizes.
  switch (static_cast<MainControl>(id)) {
    case MainControl::CaptureButton: return code == ButtonClicked ? MainWindowAction::Capture : MainWindowAction::None;
    case MainControl::RangeModeRadio:
      return code == ButtonClicked && !rangeOn ? MainWindowAction::ToRangeMode : MainWindowAction::None;
    case MainControl::WindowModeRadio:
      if (code == ButtonClicked && !windowOn) return MainWindowAction::ToWindowMode;
      // Double-clicked, it makes the list afresh.
      return code == ButtonDoubleClicked ? MainWindowAction::RefillWindowList : MainWindowAction::None;
    case MainControl::WindowList:
      return code == ListDoubleClicked ? MainWindowAction::BringListedWindowForward : MainWindowAction::None;
    default: break;
  }
  // A menu's commands come with the code 0, and so do the check boxes' clicks, which the boxes
  // answer themselves.
  return code == 0 && IsMainCommand(id) ? MainWindowAction::MenuCommand : MainWindowAction::None;
}

}  // namespace kmrn
