#include "viewer/win/viewers.h"

#include <algorithm>
#include <utility>

#include "framework/finally.h"
#include "framework/win/topmost.h"
#include "framework/win/window_query.h"
#include "picture/image_files.h"

namespace kmrn {

namespace {

std::size_t ClosedLimit(std::int32_t setting) { return static_cast<std::size_t>(std::clamp(setting, 0, 100)); }

}  // namespace

Viewers::Viewers(HWND owner, const Settings& settings, ClipboardPicture& clipboard)
    : owner_(owner), settings_(settings), clipboard_(clipboard), closed_(ClosedLimit(settings.ClosedViewersKept)) {}

Viewers::~Viewers() {
  // The registry is empty while the windows go, so that nothing asks it about a viewer half gone.
  ViewerSlots<ViewerPointer> viewers = std::exchange(slots_, {});
}

template <typename F>
void Viewers::ForEachOpen(F&& f) {
  slots_.ForEachOpen([&](ViewerPointer& viewer, std::uintptr_t) { f(*viewer); });
}

HWND Viewers::Create(Dib picture) {
  SettleClosed(false);
  // Viewers closed since the last one was made go now (never from inside their own window
  // procedure, which is not on the stack here).
  std::vector<ViewerPointer> closed = slots_.TakeClosedViewers();
  closed.clear();
  auto viewer =
      std::make_unique<ViewerWindow>(owner_, std::move(picture), slots_.nextViewerPosition.value_or(Position{}),
                                     static_cast<ViewerRegistry&>(*this), settings_);
  HWND window = viewer->Handle();
  ViewerWindow& made = *viewer;
  made.SetSlotIndex(slots_.Append(std::move(viewer), reinterpret_cast<std::uintptr_t>(window)));
  // A viewer that may fade out is a layered window from the start, fully opaque.
  if (settings_.ViewWinAlphaClose) made.SetAlphaBlend(true);
  return window;
}

ViewerWindow* Viewers::Find(HWND viewer) {
  ViewerWindow* found = nullptr;
  slots_.ForEachOpen([&](ViewerPointer& open, std::uintptr_t window) {
    if (reinterpret_cast<HWND>(window) == viewer) found = open.get();
  });
  return found;
}

void Viewers::ShowAt(HWND viewer, Position position, bool takeFocus) {
  if (ViewerWindow* found = Find(viewer)) found->ShowAt(position, takeFocus);
}

Viewers::Placement::Placement(Viewers& viewers, Dib picture, Position position, bool topMost)
    : viewers_(viewers), position_(position) {
  viewers_.slots_.nextViewerPosition = position;
  RunThenAlways(
      [&] {
        viewer_ = viewers_.Create(std::move(picture));
        SetTopMostBand(viewer_, topMost);
      },
      [&] {
        if (!viewer_) viewers_.slots_.nextViewerPosition.reset();
      });
}

Viewers::Placement::~Placement() {
  if (!viewer_) return;
  if (!shown_) {
    if (ViewerWindow* unseen = viewers_.Find(viewer_)) unseen->CloseUnseen();
  }
  viewers_.slots_.nextViewerPosition.reset();
}

void Viewers::Placement::Show() {
  viewers_.ShowAt(viewer_, position_, false);
  shown_ = true;
  viewers_.slots_.nextViewerPosition.reset();
}

int Viewers::OpenCount() const { return static_cast<int>(slots_.OpenViewerCount()); }

void Viewers::HideForCapture() {
  ForEachOpen([](ViewerWindow& viewer) { viewer.HideForCapture(); });
}

void Viewers::ShowHidden() {
  ForEachOpen([](ViewerWindow& viewer) { viewer.ShowAgain(); });
}

void Viewers::SetTopMost(bool onTop) {
  ForEachOpen([onTop](ViewerWindow& viewer) { viewer.SetTopMost(onTop); });
}

void Viewers::SetAlphaBlend(bool on) {
  ForEachOpen([on](ViewerWindow& viewer) { viewer.SetAlphaBlend(on); });
}

void Viewers::CloseAll() {
  // Each viewer decides for itself: fade, close at once, or (on exit) just vanish.
  ForEachOpen([](ViewerWindow& viewer) { SendMessageW(viewer.Handle(), WM_CLOSE, 0, 0); });
}

void Viewers::CloseAllForExit() {
  appClosing_ = true;
  CloseAll();
}

void Viewers::FreeClosed() {
  // The registry is already empty while the windows are destroyed.
  std::vector<ViewerPointer> closed = slots_.FreeClosedViewers();
  closed.clear();
}

std::vector<ScreenRect> Viewers::OtherViewerRects(HWND self) const {
  std::vector<ScreenRect> others;
  if (slots_.OpenViewerCount() < 2) return others;
  slots_.ForEachOpen([&](const ViewerPointer&, std::uintptr_t window) {
    if (reinterpret_cast<HWND>(window) != self) others.push_back(WindowRectOf(reinterpret_cast<HWND>(window)));
  });
  return others;
}

ScreenRect Viewers::WorkArea() const { return WorkAreaOf(owner_); }

void Viewers::RememberClosed(Dib picture, const ClosedViewerView& view) {
  SettleClosed(false);
  if (settings_.ClosedViewersKept <= 0 || picture.bits.empty()) return;
  auto encode = [kept = std::move(picture)] { return EncodePng(kept); };
  closed_.Add({std::async(std::launch::async, std::move(encode)), {}, view});
}

void Viewers::SettleClosed(bool wait) {
  closed_.ForEach([wait](KeptViewer& kept) {
    if (!kept.encoding.valid()) return;
    if (!wait && kept.encoding.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    try {
      kept.png = kept.encoding.get();
    } catch (const std::exception&) {
      kept.png.clear();
    }
  });
  closed_.RemoveIf([](const KeptViewer& kept) { return !kept.encoding.valid() && kept.png.empty(); });
}

bool Viewers::ReopenLastClosed(bool topMost) {
  SettleClosed(true);
  if (closed_.Empty()) return false;
  const KeptViewer kept = closed_.TakeNewest();
  HWND window = Create(DecodePng(kept.png));
  ViewerWindow* viewer = Find(window);
  RunThenAlways([&] { viewer->RestoreView(kept.view.zoomLevel, kept.view.orientation); },
                [&] {
                  // A picture that could not be zoomed again is shown as it was made.
                  SetTopMostBand(window, topMost);
                  viewer->ShowAt(kept.view.place, true);
                });
  return true;
}

void Viewers::SetClosedLimit(std::int32_t limit) { closed_.SetCapacity(ClosedLimit(limit)); }

}  // namespace kmrn
