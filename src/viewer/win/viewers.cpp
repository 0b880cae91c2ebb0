#include "viewer/win/viewers.h"

#include <memory>
#include <vector>

#include "framework/win/window_query.h"
#include "settings/settings.h"
#include "viewer/viewer_registry.h"
#include "viewer/win/viewer_window.h"

namespace kmrn {
namespace {

using ViewerPointer = std::unique_ptr<ViewerWindow>;

HWND MainWindowHandle = nullptr;
ViewerSlots<ViewerPointer> Viewers;
bool AppClosing = false;

class Registry final : public ViewerRegistry {
 public:
  bool IsAppClosing() const override { return AppClosing; }
  void MarkViewerClosed(std::size_t slotIndex) override { Viewers.MarkClosed(slotIndex); }
  int OpenCount() const override { return OpenViewerCount(); }
  void CloseAll() override { CloseAllViewers(); }
  bool PlacementPending() const override { return Viewers.nextViewerPosition.has_value(); }
  std::vector<ScreenRect> OtherViewerRects(HWND self) const override {
    std::vector<ScreenRect> others;
    if (Viewers.OpenViewerCount() < 2) return others;
    Viewers.ForEachOpen([&](ViewerPointer&, std::uintptr_t window) {
      if (reinterpret_cast<HWND>(window) != self) others.push_back(WindowRectOf(reinterpret_cast<HWND>(window)));
    });
    return others;
  }
  ScreenRect WorkArea() const override { return GetWorkArea(); }
};
Registry RegistryOfViewers;

template <typename F>
void ForEachOpenViewer(F&& f) {
  Viewers.ForEachOpen([&](ViewerPointer& viewer, std::uintptr_t) { f(*viewer); });
}

}  // namespace

void InitViewers(HWND mainWindow) { MainWindowHandle = mainWindow; }

HWND CreateViewer(Dib picture) {
  // Viewers closed since the last one was made go now (never from inside their own window
  // procedure, which is not on the stack here).
  std::vector<ViewerPointer> closed = Viewers.TakeClosedViewers();
  closed.clear();
  auto viewer = std::make_unique<ViewerWindow>(
      MainWindowHandle, std::move(picture), Viewers.nextViewerPosition.value_or(Position{}), RegistryOfViewers);
  HWND window = viewer->Handle();
  ViewerWindow& made = *viewer;
  made.SetSlotIndex(Viewers.Append(std::move(viewer), reinterpret_cast<std::uintptr_t>(window)));
  // A viewer that may fade out is a layered window from the start, fully opaque.
  if (Settings.ViewWinAlphaClose) made.SetAlphaBlend(true);
  return window;
}

void SetNextViewerPosition(Position position) { Viewers.nextViewerPosition = position; }

void ClearNextViewerPosition() { Viewers.nextViewerPosition.reset(); }

void ShowViewerAt(HWND viewer, Position position, bool takeFocus) {
  Viewers.ForEachOpen([&](ViewerPointer& open, std::uintptr_t window) {
    if (reinterpret_cast<HWND>(window) == viewer) open->ShowAt(position, takeFocus);
  });
}

int OpenViewerCount() { return static_cast<int>(Viewers.OpenViewerCount()); }

int ViewerSlotCount() { return static_cast<int>(Viewers.ViewerSlotCount()); }

void HideViewersForCapture() {
  if (!Settings.AlwaysHideView) return;
  ForEachOpenViewer([](ViewerWindow& viewer) { viewer.HideForCapture(); });
}

void ShowHiddenViewers() {
  ForEachOpenViewer([](ViewerWindow& viewer) { viewer.ShowAgain(); });
}

void SetViewersTopMost(bool onTop) {
  ForEachOpenViewer([onTop](ViewerWindow& viewer) { viewer.SetTopMost(onTop); });
}

void SetViewersAlphaBlend(bool on) {
  ForEachOpenViewer([on](ViewerWindow& viewer) { viewer.SetAlphaBlend(on); });
}

void CloseAllViewers() {
  // Each viewer decides for itself: fade, close at once, or (on exit) just vanish.
  ForEachOpenViewer([](ViewerWindow& viewer) { SendMessageW(viewer.Handle(), WM_CLOSE, 0, 0); });
}

void FreeClosedViewers() {
  // The registry is already empty while the windows are destroyed.
  std::vector<ViewerPointer> closed = Viewers.FreeClosedViewers();
  closed.clear();
}

void SetAppClosing() { AppClosing = true; }

ScreenRect GetWorkArea() { return WorkAreaOf(MainWindowHandle); }

}  // namespace kmrn
