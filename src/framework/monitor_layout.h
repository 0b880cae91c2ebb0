#pragma once
// The desktop's monitors as data: where each lies, its work area and its DPI, and what the program
// asks of them: the whole virtual screen, the monitor of a point or of a rectangle, and where a
// window stays wholly on one.

#include <cstddef>
#include <span>
#include <vector>

#include "framework/geometry.h"

namespace kmrn {

struct Monitor {
  ScreenRect bounds;    // the whole monitor; right and bottom exclusive
  ScreenRect workArea;  // the monitor less docked bars
  int dpi = 96;
  friend bool operator==(const Monitor&, const Monitor&) = default;
};

// In the system's order; the primary monitor is the one at (0, 0).
using MonitorLayout = std::vector<Monitor>;

// The smallest rectangle that holds every monitor: the virtual screen. Empty for no monitors.
ScreenRect VirtualScreen(std::span<const Monitor> monitors);

// The monitor that holds the point, or the nearest one when none does (the first of equally near
// ones). The layout must not be empty.
std::size_t MonitorAt(std::span<const Monitor> monitors, Position point);

// The monitor that holds the largest part of the rectangle, or the nearest one to its centre when
// it lies on none. The layout must not be empty.
std::size_t MonitorOf(std::span<const Monitor> monitors, const ScreenRect& rect);

// The parts of the rectangle that lie on no monitor (the corners of the virtual screen, below the
// shorter of two monitors side by side), as rectangles that do not overlap; none when the monitors
// cover it all.
std::vector<ScreenRect> PartsOnNoMonitor(std::span<const Monitor> monitors, const ScreenRect& rect);

// The top-left corner moved as little as it takes for a window of the given size to lie wholly in
// the area; a window larger than the area starts at the area's top-left.
Position KeepInside(Position place, PixelSize size, const ScreenRect& area);

}  // namespace kmrn
