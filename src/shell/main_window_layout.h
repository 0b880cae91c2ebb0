#pragma once
// The main window's size at 96 DPI. The client height follows the mode: in range mode the window
// ends below the two panels, in window mode below the window list.

namespace kmrn {

inline constexpr int MainClientWidth = 302;
inline constexpr int WindowListTop = 36;
inline constexpr int WindowListHeight = 153;
inline constexpr int RangeModeHeight = WindowListTop;
inline constexpr int WindowModeHeight = WindowListTop + WindowListHeight + 4;

}  // namespace kmrn
