#pragma once
// The captures: every trigger (the capture button, the two hotkeys, the same-place command, a
// range dragged on the overlay) ends in CaptureRect, which copies the screen once and hands the
// picture to the files, the clipboard and a new viewer. With CaptureCursor on, each trigger takes
// the mouse pointer as it is then, and the capture draws it into the picture right after the copy.

#include <windows.h>

#include <memory>
#include <optional>

#include "capture/win/overlay_window.h"
#include "capture/win/pointer_snapshot_win.h"
#include "framework/geometry.h"
#include "settings/settings.h"

namespace kmrn {

class ClipboardPicture;
class Viewers;

// What a capture is to deliver and how it is started, as the main window shows it when the
// capture begins.
struct CaptureChoices {
  bool saveBmp = false;       // "bmp": the first file, a PNG instead with SavePng on
  bool saveJpg = false;       // "Jpg"
  bool viewer = true;         // "Win": the picture in a new viewer
  bool topMost = true;        // always on top: the new viewer joins the topmost band
  bool windowMode = false;    // "窓": the capture button takes the window chosen in the list
  bool sameRect = false;      // the same place as last time, instead of asking for one
  HWND listWindow = nullptr;  // the window chosen in the list, if any
};

// What the captures need of the program around them: the main window, which steps aside.
class CaptureHost {
 public:
  virtual ~CaptureHost() = default;
  virtual HWND MainHandle() const = 0;
  // Takes the main window's current position as the place it comes back to when shown again.
  virtual void RememberMainPosition() = 0;
  virtual void HideMainWindow() = 0;
  virtual void ShowMainWindow() = 0;
  virtual bool MainWindowVisible() const = 0;
  // A picture has been taken; the same place can be captured again from now on.
  virtual void OnCaptured() = 0;
  // The user switched the range overlay's magnifier on or off (Tab); the choice is to be kept.
  virtual void OnMagnifierToggled(bool on) = 0;
};

// Each trigger takes the settings as they are when it comes; a range selection keeps that copy
// until its capture.
class CaptureEngine final : private OverlayHost {
 public:
  // The new pictures' viewers join `viewers`, which also step aside while the screen is copied;
  // the pictures for the clipboard go to `clipboard`.
  CaptureEngine(CaptureHost& host, Viewers& viewers, ClipboardPicture& clipboard);
  ~CaptureEngine() override;

  // The one capture operation: the rectangle in screen pixels. Errors (a file that cannot be
  // written) propagate to the caller after the bitmap is freed.
  void CaptureRect(const PixelRect& rect, const CaptureChoices& choices, const Settings& settings);

  void OnCaptureButton(const CaptureChoices& choices, const Settings& settings);
  void OnWindowHotKey(const CaptureChoices& choices, const Settings& settings);
  void OnRangeHotKey(const CaptureChoices& choices, const Settings& settings);

 private:
  // OverlayHost
  void SetCaptureBusy(bool busy) override { captureBusy_ = busy; }
  bool MainWasVisible() const override { return mainWasVisible_; }
  const Settings& SelectionSettings() const override { return selectionSettings_; }
  void CaptureSelection(const PixelRect& screenRect) override;
  void ShowMainWindow() override;
  void ShowHiddenViewers() override;
  void OnMagnifierToggled(bool on) override;

  // Hides the main window and the viewers, waits CaptureWait, captures the rectangle and brings
  // them back (the main window only when showMainAfter), also when the capture failed.
  void CaptureWhileHidden(const PixelRect& rect, const CaptureChoices& choices, const Settings& settings,
                          bool showMainAfter);
  // Hides the program's windows and shows the overlay over the screen (or the configured
  // two-display area); the selection is captured with these choices and settings.
  void StartRangeSelection(const CaptureChoices& choices, const Settings& settings);

  // With CaptureCursor on, takes the mouse pointer as it is at the trigger, for the capture that
  // follows; otherwise forgets any taken before. Every trigger calls it first.
  void SnapPointerFor(const Settings& settings);
  // Draws the pointer taken at the trigger into the freshly copied picture of `rect`, once.
  void DrawSnappedPointer(SectionDib& picture, const PixelRect& rect);

  CaptureHost& host_;
  Viewers& viewers_;
  ClipboardPicture& clipboard_;
  std::unique_ptr<OverlayWindow> overlay_;
  CaptureChoices selectionChoices_;
  Settings selectionSettings_;
  std::optional<PixelRect> lastCaptureRect_;
  std::optional<PointerSnapshot> pointer_;
  bool captureBusy_ = false;
  bool mainWasVisible_ = true;
};

}  // namespace kmrn
