#include "framework/window_magnet.h"

namespace kmrn {
namespace {

// pull(v, target): within the distance, strictly, v jumps onto the target. Sums are taken in 64
// bits, as a hand-edited distance may be anything.
void Pull(std::int32_t& value, std::int64_t target, std::int32_t distance) {
  if (target - distance < value && value < target + distance) value = SaturateToInt32(target);
}

// The same for the far edge of a window of the given extent: the edge lands on the target.
void PullFarEdge(std::int32_t& value, std::int32_t extent, std::int64_t target, std::int32_t distance) {
  const std::int64_t edge = std::int64_t{value} + extent;
  if (target - distance < edge && edge < target + distance) value = SaturateToInt32(target - extent);
}

}  // namespace

Position SnapMainWindow(Position p, PixelSize size, const MagnetLines& lines) {
  const std::int32_t d = lines.distance;
  Pull(p.left, lines.nearLines.left, d);
  Pull(p.top, lines.nearLines.top, d);
  Pull(p.left, std::int64_t{lines.workArea.right} - size.width, d);
  Pull(p.top, std::int64_t{lines.workArea.bottom} - size.height, d);
  if (lines.secondaryX) Pull(p.left, *lines.secondaryX, d);
  return p;
}

Position SnapViewer(Position p, PixelSize size, const MagnetLines& lines, std::span<const ScreenRect> otherViewers) {
  const std::int32_t d = lines.distance;
  Pull(p.left, std::int64_t{lines.workArea.right} - size.width, d);
  Pull(p.top, std::int64_t{lines.workArea.bottom} - size.height, d);
  Pull(p.left, lines.nearLines.left, d);
  Pull(p.top, lines.nearLines.top, d);
  if (lines.secondaryX) Pull(p.left, *lines.secondaryX, d);

  for (const ScreenRect& other : otherViewers) {
    // Side by side: the two overlap or touch from top to bottom.
    if (p.top <= other.bottom && std::int64_t{p.top} + size.height >= other.top) {
      PullFarEdge(p.left, size.width, other.left, d);
      PullFarEdge(p.left, size.width, other.right, d);
      Pull(p.left, other.left, d);
      Pull(p.left, other.right, d);
    }
    // One above the other, with the horizontal position as it now stands.
    if (p.left <= other.right && std::int64_t{p.left} + size.width >= other.left) {
      PullFarEdge(p.top, size.height, other.top, d);
      PullFarEdge(p.top, size.height, other.bottom, d);
      Pull(p.top, other.top, d);
      Pull(p.top, other.bottom, d);
    }
  }
  return p;
}

}  // namespace kmrn
