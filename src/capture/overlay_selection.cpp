#include "capture/overlay_selection.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace kmrn {
namespace {

// At 96 DPI the label's text starts 8 pixels right of its anchor and ends on the anchor's row; its
// erase box is wide enough for the longest coordinates or size the overlay shows. All three grow
// with the DPI, as the label's font does.
constexpr std::int32_t LabelOffsetX = 8;
constexpr std::int32_t LabelHeight = 16;
constexpr std::int32_t LabelEraseWidth = 100;

ScreenRect LabelEraseBox(const OverlaySelection& s) {
  return {s.LabelX, s.LabelY - ScaleForDpi(LabelHeight, s.LabelDpi),
          s.LabelX + ScaleForDpi(LabelEraseWidth, s.LabelDpi), s.LabelY};
}

// The label anchored at the pointer or the band's corner, as the selection last drew it.
OverlayDraw Label(const OverlaySelection& s) {
  return OverlayDraw::DrawLabel(s.LabelX + ScaleForDpi(LabelOffsetX, s.LabelDpi),
                                s.LabelY - ScaleForDpi(LabelHeight, s.LabelDpi), s.LabelText, s.LabelDpi);
}

ScreenRect Band(std::int32_t ax, std::int32_t ay, std::int32_t x, std::int32_t y) {
  return {std::min(ax, x), std::min(ay, y), std::max(ax, x), std::max(ay, y)};
}

bool MoveSeen(const OverlaySelection& s) { return s.LastX != -1 && s.LastY != -1; }

ScreenRect Intersection(const ScreenRect& a, const ScreenRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

OverlayStep EndSelection(OverlaySelection& s, PixelSize clientSize) {
  OverlayStep step;
  // Blank now, so that the overlay is clean when it is shown next.
  step.draws.push_back(OverlayDraw::FillErase({0, 0, clientSize.width, clientSize.height}));
  step.hideOverlay = true;
  s.State = OverlayState::Hidden;
  s.LabelText.clear();
  s.PointerPlaced.reset();
  return step;
}

}  // namespace

void OnOverlayShown(OverlaySelection& selection, Position origin) {
  selection.State = OverlayState::Hovering;
  selection.Origin = origin;
}

OverlayStep OnOverlayPress(OverlaySelection& s, MouseButton button, std::int32_t x, std::int32_t y) {
  if (s.State == OverlayState::Hidden || button != MouseButton::Left) return {};
  s.State = OverlayState::Dragging;
  s.AnchorX = x;
  s.AnchorY = y;
  s.LastX = -1;
  s.LastY = -1;
  return {};
}

OverlayStep OnOverlayMove(OverlaySelection& s, std::int32_t x, std::int32_t y, int dpi) {
  if (s.State == OverlayState::Hidden) return {};
  if (const auto placed = std::exchange(s.PointerPlaced, std::nullopt); placed && *placed == Position{x, y}) return {};
  OverlayStep step;
  // Other topmost windows (a tooltip, the taskbar) may have come up since the overlay was shown.
  step.raiseTopMost = true;

  if (s.State == OverlayState::Hovering) {
    step.draws.push_back(OverlayDraw::FillErase(LabelEraseBox(s)));
    // The pointer's screen position: the point a selection starting here is captured from.
    s.LabelText =
        std::to_string(std::int64_t{s.Origin.left} + x) + "," + std::to_string(std::int64_t{s.Origin.top} + y);
    s.LabelX = x;
    s.LabelY = y;
    s.LabelDpi = dpi;
    step.draws.push_back(Label(s));
    return step;
  }

  // Drawing is incremental: only the previous band and label are erased, never the whole overlay.
  const ScreenRect band = Band(s.AnchorX, s.AnchorY, x, y);
  if (MoveSeen(s)) step.draws.push_back(OverlayDraw::FillErase(Band(s.AnchorX, s.AnchorY, s.LastX, s.LastY)));
  step.draws.push_back(OverlayDraw::FillErase(LabelEraseBox(s)));
  step.draws.push_back(OverlayDraw::FillBand(band));
  s.LabelText = std::to_string(band.Width()) + "x" + std::to_string(band.Height());
  s.LastX = x;
  s.LastY = y;
  s.LabelX = band.left;
  s.LabelY = band.top;
  s.LabelDpi = dpi;
  step.draws.push_back(Label(s));
  return step;
}

OverlayStep OnOverlayRelease(OverlaySelection& s, MouseButton button, const OverlayReleaseContext& context) {
  if (s.State == OverlayState::Hidden) return {};
  // A release that ends no drag (the press came before the overlay was shown) must not take the
  // rectangle left over from the previous selection.
  const bool endsLeftDrag = s.State == OverlayState::Dragging && button == MouseButton::Left;
  OverlayStep step = EndSelection(s, context.clientSize);
  const Settings& settings = context.settings;

  // The rectangle ends where the pointer last moved; the release point itself is not used.
  const PixelRect selected{std::min(s.AnchorX, s.LastX), std::min(s.AnchorY, s.LastY), std::abs(s.LastX - s.AnchorX),
                           std::abs(s.LastY - s.AnchorY)};
  const bool tooSmall = selected.width <= settings.minCaptureWidth && selected.height <= settings.minCaptureHeight;
  // A drag along one axis only is big enough by the rule above but holds no pixels.
  const bool empty = selected.width == 0 || selected.height == 0;
  if (endsLeftDrag && MoveSeen(s) && !tooSmall && !empty) {
    // Exactly the pixels beneath the band, wherever the overlay lies on the desktop.
    step.capture = PixelRect{SaturateToInt32(std::int64_t{s.Origin.left} + selected.x),
                             SaturateToInt32(std::int64_t{s.Origin.top} + selected.y), selected.width, selected.height};
  }

  step.showMainWindow = settings.CloseAfterCapture ? !settings.AlwaysNoCloseX : context.mainWasVisible;
  step.showHiddenViewers = true;
  return step;
}

OverlayStep OnOverlayKeyPress(OverlaySelection& s, int key, PixelSize clientSize) {
  if (s.State == OverlayState::Hidden) return {};
  if (key == TabKey) {
    OverlayStep step;
    step.toggleMagnifier = true;
    return step;
  }
  if (key != EscapeKey) return {};
  OverlayStep step = EndSelection(s, clientSize);
  // Esc always gives the user the main window back, and the viewers hidden for the capture too:
  // left hidden, they would still count as open when the program asks before it ends.
  step.showMainWindow = true;
  step.showHiddenViewers = true;
  return step;
}

OverlayStep OnOverlayKeyDown(OverlaySelection& s, int key, bool shift, Position pointer, PixelSize clientSize,
                             int dpi) {
  if (s.State == OverlayState::Hidden || clientSize.width <= 0 || clientSize.height <= 0) return {};
  const std::int32_t distance = shift ? 10 : 1;
  std::int64_t x = pointer.left, y = pointer.top;
  switch (static_cast<ArrowKey>(key)) {
    case ArrowKey::Left: x -= distance; break;
    case ArrowKey::Right: x += distance; break;
    case ArrowKey::Up: y -= distance; break;
    case ArrowKey::Down: y += distance; break;
    default: return {};
  }
  const Position to{static_cast<std::int32_t>(std::clamp<std::int64_t>(x, 0, clientSize.width - 1)),
                    static_cast<std::int32_t>(std::clamp<std::int64_t>(y, 0, clientSize.height - 1))};
  if (to == pointer) return {};  // at the edge already
  // Drawn now, as a move there would be: a window system may not report a move that a program
  // made. The report, should it come, then finds nothing left to do.
  OverlayStep step = OnOverlayMove(s, to.left, to.top, dpi);
  step.movePointer = to;
  s.PointerPlaced = to;
  return step;
}

std::vector<OverlayDraw> OverlayRepaint(const OverlaySelection& s, const ScreenRect& area) {
  std::vector<OverlayDraw> draws{OverlayDraw::FillErase(area)};
  if (s.State == OverlayState::Hidden) return draws;
  if (s.State == OverlayState::Dragging && MoveSeen(s)) {
    const ScreenRect band = Intersection(Band(s.AnchorX, s.AnchorY, s.LastX, s.LastY), area);
    if (!IsEmpty(band)) draws.push_back(OverlayDraw::FillBand(band));
  }
  // The text is drawn whole; the part outside the area is left as it is by the window system.
  if (!s.LabelText.empty() && !IsEmpty(Intersection(LabelEraseBox(s), area))) {
    draws.push_back(Label(s));
  }
  return draws;
}

}  // namespace kmrn
