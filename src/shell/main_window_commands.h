#pragma once
// What the main window does with a command from its controls and its context menus.

#include <cstdint>

namespace kmrn {

// The system's notification codes the main window answers: BN_CLICKED (also the code of a menu
// command), LBN_DBLCLK and BN_DOUBLECLICKED.
inline constexpr std::uint16_t ButtonClicked = 0;
inline constexpr std::uint16_t ListDoubleClicked = 2;
inline constexpr std::uint16_t ButtonDoubleClicked = 5;

enum class MainWindowAction {
  None,
  Capture,
  ToRangeMode,   // the range button clicked while window mode is on
  ToWindowMode,  // the window button clicked while range mode is on
  RefillWindowList,
  BringListedWindowForward,
  MenuCommand,  // a command of a context menu, the id being a MainCommand
};

// The action for a command from a control or menu (id) with its notification code. rangeOn and
// windowOn: whether the two mode buttons are checked, which the window does itself.
MainWindowAction ActionForCommand(std::uint16_t id, std::uint16_t code, bool rangeOn, bool windowOn);

}  // namespace kmrn
