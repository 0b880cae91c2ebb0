#include "capture/capture_geometry.h"

#include <algorithm>
#include <optional>

#include "capture/window_list.h"
#include "viewer/viewer_frame.h"

namespace kmrn {

PixelRect NarrowToClientArea(const ScreenRect& windowRect, const ScreenRect& clientOnScreen, bool alwaysWinClient) {
  const ScreenRect& taken = alwaysWinClient && !IsEmpty(clientOnScreen) ? clientOnScreen : windowRect;
  return ToPixelRect(taken);
}

namespace {

// The virtual screen when every monitor is used and the system listed any.
std::optional<ScreenRect> AllMonitorsRect(const Settings& s, std::span<const Monitor> monitors) {
  if (!UsesAllMonitors(s) || monitors.empty()) return std::nullopt;
  return VirtualScreen(monitors);
}

}  // namespace

PixelRect WindowCaptureRect(std::string_view className, const ScreenRect& windowRect, const ScreenRect& clientOnScreen,
                            const Settings& s, std::span<const Monitor> monitors) {
  if (className == DesktopClass) {
    if (const auto all = AllMonitorsRect(s, monitors)) return ToPixelRect(*all);
  }
  return NarrowToClientArea(windowRect, clientOnScreen, s.AlwaysWinClient);
}

PixelRect OverlayBounds(const Settings& s, const ScreenRect& desktopRect, std::span<const Monitor> monitors) {
  if (const auto all = AllMonitorsRect(s, monitors)) return ToPixelRect(*all);
  if (!s.mDisplay_Enable) return {0, 0, desktopRect.right, desktopRect.bottom};
  const std::int64_t left = std::min<std::int64_t>(0, s.mDisplay_SX);
  const std::int64_t top = std::min<std::int64_t>(0, s.mDisplay_SY);
  const std::int64_t right = std::max<std::int64_t>(s.mDisplay_PW, std::int64_t{s.mDisplay_SX} + s.mDisplay_SW);
  const std::int64_t bottom = std::max<std::int64_t>(s.mDisplay_PH, std::int64_t{s.mDisplay_SY} + s.mDisplay_SH);
  return {SaturateToInt32(left), SaturateToInt32(top), SaturateToInt32(right - left), SaturateToInt32(bottom - top)};
}

ScreenRect VisibleDesktopRect(const Settings& s, const ScreenRect& desktopRect, std::span<const Monitor> monitors) {
  if (const auto all = AllMonitorsRect(s, monitors)) return *all;
  if (!s.mDisplay_Enable) return desktopRect;
  const bool secondaryLeft = s.mDisplay_SX < 0;
  return {secondaryLeft ? s.mDisplay_SX : 0, s.mDisplay_SY < 0 ? s.mDisplay_SY : 0,
          secondaryLeft ? s.mDisplay_PW : SaturateToInt32(std::int64_t{s.mDisplay_PW} + s.mDisplay_SW),
          std::max(s.mDisplay_PH, s.mDisplay_SH)};
}

bool TouchesVisibleDesktop(const ScreenRect& rect, const ScreenRect& visible) {
  return !IsEmpty(rect) && rect.right >= visible.left && rect.bottom >= visible.top && rect.left <= visible.right &&
         rect.top <= visible.bottom;
}

Position CapturedViewerPosition(const Settings& settings, const PixelRect& capture, const ScreenRect& mainWorkArea,
                                std::span<const Monitor> monitors) {
  const std::int32_t frame = ViewerFrameWidth(settings.ViewWinBorder);
  // Dual display describes the monitors itself and keeps the main window's work area.
  const bool onCaptureMonitor = UsesAllMonitors(settings) && !monitors.empty();
  const ScreenRect workArea =
      onCaptureMonitor ? monitors[MonitorOf(monitors, ToScreenRect(capture))].workArea : mainWorkArea;
  Position place;
  switch (settings.CapturedWinPos) {
    case 0: place = CentredInWorkArea(capture.Size(), workArea); break;
    case 1: place = workArea.TopLeft(); break;
    default:
      return {SaturateToInt32(std::int64_t{capture.x} - frame), SaturateToInt32(std::int64_t{capture.y} - frame)};
  }
  return onCaptureMonitor ? KeepInside(place, ViewerOuterSize(capture.Size(), frame), workArea) : place;
}

Position CentredInWorkArea(const PixelSize& outerSize, const ScreenRect& workArea) {
  return CentredIn(outerSize, workArea, Centring::MiddleLessHalf);
}

Position PinnedViewerPosition(const PixelSize& outerSize, Position pointer, const ScreenRect& workArea) {
  return KeepInside({SaturateToInt32(std::int64_t{pointer.left} - outerSize.width / 2),
                     SaturateToInt32(std::int64_t{pointer.top} - outerSize.height / 2)},
                    outerSize, workArea);
}

}  // namespace kmrn
