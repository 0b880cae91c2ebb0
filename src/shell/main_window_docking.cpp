#include "shell/main_window_docking.h"

#include "shell/main_window_layout.h"

namespace kmrn {

MainWindowHeights MainWindowHeightsWithFrame(std::int32_t frameHeight) {
  return {RangeModeHeight + frameHeight, WindowModeHeight + frameHeight};
}

std::int32_t TopForWindowMode(std::int32_t top, const MainWindowHeights& heights, std::int32_t workBottom) {
  // A bottom edge landing exactly on the work area's bottom counts as reaching it; the move then
  // changes nothing.
  if (top + heights.windowMode >= workBottom) return workBottom - heights.windowMode;
  return top;
}

std::int32_t TopForRangeMode(std::int32_t top, std::int32_t currentHeight, const MainWindowHeights& heights,
                             std::int32_t workBottom) {
  // Only a window docked exactly on the bottom follows it down; elsewhere it keeps its top.
  if (top + currentHeight == workBottom) return workBottom - heights.rangeMode;
  return top;
}

}  // namespace kmrn
