#pragma once
// The program's viewer windows: one object, owned by the program, that makes every viewer, keeps
// the registry of those open and hidden, and hides, shows, restacks and closes them together.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>
#include <vector>

#include "framework/geometry.h"
#include "picture/dib.h"
#include "picture/win/clipboard_picture.h"
#include "settings/settings.h"
#include "viewer/closed_viewers.h"
#include "viewer/viewer_registry.h"
#include "viewer/win/hand_over_win.h"
#include "viewer/win/viewer_window.h"

namespace kmrn {

class Viewers final : private ViewerRegistry {
 public:
  // The viewers belong to `owner` (the main window), whose monitor also gives the work area; the
  // pictures they hand to the image editor are deleted when this object goes. They
  // read `settings` as they are at each moment (the magnet, the frame of a new viewer, the
  // auto-close after a command). Their copies go to `clipboard`.
  Viewers(HWND owner, const Settings& settings, ClipboardPicture& clipboard);
  ~Viewers() override;
  Viewers(const Viewers&) = delete;
  Viewers& operator=(const Viewers&) = delete;

  // Makes a hidden viewer that keeps the picture. Returns the viewer's window.
  HWND Create(Dib picture);
  // Shows a viewer at the given place (which it also keeps as the place to come back to).
  void ShowAt(HWND viewer, Position position, bool takeFocus);
  // The viewer of a new picture, made hidden at its place while the rest of a capture is still
  // under way, and shown (without taking the focus) only once all of it has succeeded. Dropped
  // unshown, it closes without ever having been seen. The magnet leaves it alone meanwhile.
  class Placement {
   public:
    Placement(Viewers& viewers, Dib picture, Position position, bool topMost);
    ~Placement();
    Placement(const Placement&) = delete;
    Placement& operator=(const Placement&) = delete;
    void Show();

   private:
    Viewers& viewers_;
    Position position_;
    HWND viewer_ = nullptr;
    bool shown_ = false;
  };

  int OpenCount() const override;
  void HideForCapture();
  void ShowHidden();
  void SetTopMost(bool onTop);
  void SetAlphaBlend(bool on);
  // Each viewer closes as by its menu: with a fade when the settings ask for one.
  void CloseAll() override;
  // The program is ending: every viewer vanishes at once.
  void CloseAllForExit();
  // Destroys closed viewers when none is open.
  void FreeClosed();

  // Brings the most recently closed viewer back where it was, zoomed, turned and mirrored as it
  // was, in front; false when none is kept. Throws PngError, ImageTooLargeError when its picture
  // cannot be had again (it is then let go).
  bool ReopenLastClosed(bool topMost);
  // How many closed viewers are kept (ClosedViewersKept); fewer lets the oldest go now.
  void SetClosedLimit(std::int32_t limit);

  // The work area of the monitor that holds the main window (right and bottom exclusive).
  ScreenRect WorkArea() const override;

 private:
  using ViewerPointer = std::unique_ptr<ViewerWindow>;
  template <typename F>
  void ForEachOpen(F&& f);
  ViewerWindow* Find(HWND viewer);

  // ViewerRegistry
  bool IsAppClosing() const override { return appClosing_; }
  void MarkViewerClosed(std::size_t slotIndex) override { slots_.MarkClosed(slotIndex); }
  bool PlacementPending() const override { return slots_.nextViewerPosition.has_value(); }
  std::vector<ScreenRect> OtherViewerRects(HWND self) const override;
  std::string HandOver(const Dib& picture) override { return handedOver_.Write(picture); }
  void PutOnClipboard(const Dib& picture) override { clipboard_.Put(picture); }
  std::string HandOverPng(const std::vector<std::uint8_t>& png) override { return handedOver_.WritePng(png); }
  void RememberClosed(Dib picture, const ClosedViewerView& view) override;

  // A closed viewer's picture, compressed to PNG on another thread as it closes, so that closing
  // many at once stays quick. The thread is let go as soon as its PNG is taken (SettleClosed).
  struct KeptViewer {
    std::future<std::vector<std::uint8_t>> encoding;
    std::vector<std::uint8_t> png;
    ClosedViewerView view;
  };
  // Takes the PNGs that are ready (all of them with wait), letting their threads go; one that
  // could not be made (no memory) loses its viewer.
  void SettleClosed(bool wait);

  HWND owner_;
  const Settings& settings_;
  ClipboardPicture& clipboard_;
  // Declared before the viewers: the files they handed over are deleted after they have gone.
  HandOverPictures handedOver_;
  ViewerSlots<ViewerPointer> slots_;
  ClosedViewers<KeptViewer> closed_;
  bool appClosing_ = false;
};

}  // namespace kmrn
