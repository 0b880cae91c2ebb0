#pragma once
// The captures: every trigger (the capture button, the two hotkeys, the same-place command, a
// range dragged on the overlay) ends in CaptureRect, which copies the screen once and hands the
// picture to the files, the clipboard and a new viewer.

#include <windows.h>

#include <memory>
#include <optional>

#include "capture/win/overlay_window.h"
#include "framework/geometry.h"

namespace kmrn {

// What the captures need of the main window.
class CaptureHost {
 public:
  virtual ~CaptureHost() = default;
  virtual HWND MainHandle() const = 0;
  // Takes the window's current position as the place it comes back to when shown again.
  virtual void RememberMainPosition() = 0;
  virtual void HideMainWindow() = 0;
  virtual void ShowMainWindow() = 0;
  virtual bool MainWindowVisible() const = 0;
  virtual bool SaveBmpChecked() const = 0;  // "bmp"
  virtual bool SaveJpgChecked() const = 0;  // "Jpg"
  virtual bool ViewerChecked() const = 0;   // "Win"
  virtual bool TopMostChecked() const = 0;
  virtual bool SameRectChecked() const = 0;
  virtual void EnableSameRect() = 0;
  virtual bool WindowModeChecked() const = 0;
  // The window chosen in the window list, if any.
  virtual std::optional<HWND> SelectedListWindow() const = 0;
};

class CaptureEngine final : private OverlayHost {
 public:
  explicit CaptureEngine(CaptureHost& host);
  ~CaptureEngine() override;

  // The one capture operation: the rectangle in screen pixels. Errors (a file that cannot be
  // written) propagate to the caller after the bitmap is freed.
  void CaptureRect(const PixelRect& rect);

  void OnCaptureButton();
  void OnWindowHotKey();
  void OnRangeHotKey();

  bool CaptureBusy() const { return captureBusy_; }
  const std::optional<PixelRect>& LastCaptureRect() const { return lastCaptureRect_; }

 private:
  // OverlayHost
  void SetCaptureBusy(bool busy) override { captureBusy_ = busy; }
  bool MainWasVisible() const override { return mainWasVisible_; }
  void CaptureSelection(const PixelRect& screenRect) override;
  void ShowMainWindow() override;
  void ShowHiddenViewers() override;

  // Hides the main window and the viewers, waits CaptureWait, captures the rectangle and brings
  // them back (the main window only when showMainAfter), also when the capture failed.
  void CaptureWhileHidden(const PixelRect& rect, bool showMainAfter);
  // Places the overlay over the screen (or the configured two-display area) and shows it.
  void ShowSelectionOverlay();

  CaptureHost& host_;
  std::unique_ptr<OverlayWindow> overlay_;
  std::optional<PixelRect> lastCaptureRect_;
  bool captureBusy_ = false;
  bool mainWasVisible_ = true;
};

}  // namespace kmrn
