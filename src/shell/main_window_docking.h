#pragma once
// The main window's move when it switches between range mode (short) and window mode (with the
// window list): a window docked on the bottom of the work area stays docked, one that would reach
// below it in window mode moves up.

#include <cstdint>

namespace kmrn {

// The window's outer heights in the two modes.
struct MainWindowHeights {
  std::int32_t rangeMode = 0;
  std::int32_t windowMode = 0;
};

// The two mode heights for a frame (caption and borders) of frameHeight pixels in total.
MainWindowHeights MainWindowHeightsWithFrame(std::int32_t frameHeight);

// The window's top after growing into window mode.
std::int32_t TopForWindowMode(std::int32_t top, const MainWindowHeights& heights, std::int32_t workBottom);

// The window's top after shrinking into range mode from currentHeight.
std::int32_t TopForRangeMode(std::int32_t top, std::int32_t currentHeight, const MainWindowHeights& heights,
                             std::int32_t workBottom);

}  // namespace kmrn
