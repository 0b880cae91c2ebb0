#include "framework/monitor_layout.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace kmrn {
namespace {

// The squared distance from the point to the nearest pixel of the rectangle, 0 inside it.
std::int64_t SquaredDistance(const ScreenRect& rect, std::int64_t x, std::int64_t y) {
  const std::int64_t dx = x < rect.left ? rect.left - x : (x >= rect.right ? x - (std::int64_t{rect.right} - 1) : 0);
  const std::int64_t dy = y < rect.top ? rect.top - y : (y >= rect.bottom ? y - (std::int64_t{rect.bottom} - 1) : 0);
  return dx * dx + dy * dy;
}

std::size_t Nearest(std::span<const Monitor> monitors, std::int64_t x, std::int64_t y) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < monitors.size(); ++i) {
    if (SquaredDistance(monitors[i].bounds, x, y) < SquaredDistance(monitors[best].bounds, x, y)) best = i;
  }
  return best;
}

}  // namespace

ScreenRect VirtualScreen(std::span<const Monitor> monitors) {
  if (monitors.empty()) return {};
  ScreenRect all = monitors.front().bounds;
  for (const Monitor& monitor : monitors) {
    all = {std::min(all.left, monitor.bounds.left), std::min(all.top, monitor.bounds.top),
           std::max(all.right, monitor.bounds.right), std::max(all.bottom, monitor.bounds.bottom)};
  }
  return all;
}

std::size_t MonitorAt(std::span<const Monitor> monitors, Position point) {
  return Nearest(monitors, point.left, point.top);
}

std::size_t MonitorOf(std::span<const Monitor> monitors, const ScreenRect& rect) {
  std::size_t best = 0;
  std::int64_t bestArea = 0;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const ScreenRect& m = monitors[i].bounds;
    const std::int64_t width = std::int64_t{std::min(m.right, rect.right)} - std::max(m.left, rect.left);
    const std::int64_t height = std::int64_t{std::min(m.bottom, rect.bottom)} - std::max(m.top, rect.top);
    if (width > 0 && height > 0 && width * height > bestArea) {
      best = i;
      bestArea = width * height;
    }
  }
  if (bestArea > 0) return best;
  return Nearest(monitors, (std::int64_t{rect.left} + rect.right) / 2, (std::int64_t{rect.top} + rect.bottom) / 2);
}

std::vector<ScreenRect> PartsOnNoMonitor(std::span<const Monitor> monitors, const ScreenRect& rect) {
  std::vector<ScreenRect> parts;
  if (!IsEmpty(rect)) parts.push_back(rect);
  // Each monitor is cut out of every part left: what lies above and below it across the part's
  // whole width, then what lies beside it between those.
  for (const Monitor& monitor : monitors) {
    const ScreenRect& m = monitor.bounds;
    std::vector<ScreenRect> rest;
    for (const ScreenRect& p : parts) {
      if (IsEmpty(m) || m.left >= p.right || m.right <= p.left || m.top >= p.bottom || m.bottom <= p.top) {
        rest.push_back(p);
        continue;
      }
      const std::int32_t top = std::max(p.top, m.top), bottom = std::min(p.bottom, m.bottom);
      if (p.top < m.top) rest.push_back({p.left, p.top, p.right, m.top});
      if (m.bottom < p.bottom) rest.push_back({p.left, m.bottom, p.right, p.bottom});
      if (p.left < m.left) rest.push_back({p.left, top, m.left, bottom});
      if (m.right < p.right) rest.push_back({m.right, top, p.right, bottom});
    }
    parts = std::move(rest);
  }
  return parts;
}

Position KeepInside(Position place, PixelSize size, const ScreenRect& area) {
  // Pulled back from the right and bottom first, then from the left and top, so that the top-left
  // corner wins for a window larger than the area.
  auto keep = [](std::int64_t start, std::int64_t length, std::int64_t low, std::int64_t high) {
    return SaturateToInt32(std::max(std::min(start, high - length), low));
  };
  return {keep(place.left, size.width, area.left, area.right), keep(place.top, size.height, area.top, area.bottom)};
}

}  // namespace kmrn
