#pragma once
// The window magnet: while a window moves, an edge that comes within the snap distance of a line
// jumps onto it. The main window snaps to the work area's far edges and the near lines (the
// screen's zero lines, or the left and top edges of the window's own monitor); a viewer to the same
// lines and to the edges of the other open viewers.

#include <cstdint>
#include <optional>
#include <span>

#include "framework/geometry.h"

namespace kmrn {

struct MagnetLines {
  ScreenRect workArea;                     // right and bottom exclusive: the far lines
  std::int32_t distance = 0;               // MagPos: pulled when strictly less than this away
  std::optional<std::int32_t> secondaryX;  // mDisplay_SX when dual display is on
  Position nearLines;                      // the left and top lines: (0, 0) or a monitor's top-left
};

// The main window's position: toward the near lines first, the far work-area edges after them.
Position SnapMainWindow(Position proposed, PixelSize size, const MagnetLines& lines);

// A viewer's position: toward the far work-area edges first, the near lines after them, then the
// secondary display's line, then the other open viewers' edges in slot order (a later one wins).
Position SnapViewer(Position proposed, PixelSize size, const MagnetLines& lines,
                    std::span<const ScreenRect> otherViewers);

}  // namespace kmrn
