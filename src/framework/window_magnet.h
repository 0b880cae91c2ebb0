#pragma once
// The window magnet: while a window moves, an edge that comes within the snap distance of a line
// jumps onto it. The main window snaps to the work area's far edges and the screen's zero lines;
// a viewer to the same lines and to the edges of the other open viewers.

#include <cstdint>
#include <optional>
#include <span>

#include "framework/geometry.h"

namespace kmrn {

struct MagnetLines {
  ScreenRect workArea;                     // of the main window's monitor; right and bottom exclusive
  std::int32_t distance = 0;               // MagPos: pulled when strictly less than this away
  std::optional<std::int32_t> secondaryX;  // mDisplay_SX when dual display is on
};

// The main window's position: toward the zero lines first, the far work-area edges after them.
Position SnapMainWindow(Position proposed, PixelSize size, const MagnetLines& lines);

// A viewer's position: toward the far work-area edges first, the zero lines after them, then the
// secondary display's line, then the other open viewers' edges in slot order (a later one wins).
Position SnapViewer(Position proposed, PixelSize size, const MagnetLines& lines,
                    std::span<const ScreenRect> otherViewers);

}  // namespace kmrn
