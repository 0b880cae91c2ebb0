#pragma once
// What the program's notification-area icon does with the shell's mouse messages.

#include <cstdint>

namespace kmrn {

// The message the shell sends to the callback window for the icon (WM_USER + 101).
inline constexpr std::uint32_t TrayCallbackMessage = 0x465;

// The mouse messages the shell reports, as lParam of the callback message.
inline constexpr std::uint32_t TrayLeftDown = 0x0201, TrayLeftUp = 0x0202, TrayLeftDoubleClick = 0x0203,
                               TrayRightDown = 0x0204, TrayRightUp = 0x0205, TrayMiddleDown = 0x0207,
                               TrayMiddleUp = 0x0208;

enum class TrayAction { None, LeftButtonUp, MiddleButtonUp, PopupMenu };

// Which of the icon's reactions are there (an event handler that is set).
struct TrayReactions {
  bool leftButtonUp = false, middleButtonUp = false, popupMenu = false;
};

// The reaction to one mouse message: the left and middle buttons' releases raise their events, a
// right-button release opens the menu; presses, double clicks and moves do nothing.
TrayAction TrayActionFor(std::uint32_t mouseMessage, const TrayReactions& reactions);

}  // namespace kmrn
