#pragma once
// The range overlay: a translucent white window over the whole screen on which the user drags
// the rectangle to capture. It only translates mouse and key messages into selection steps and
// carries out what they say; the decisions live in overlay_selection.

#include <memory>

#include "framework/geometry.h"
#include "framework/win/window.h"
#include "settings/settings.h"

namespace kmrn {

// What the overlay asks of the rest of the program.
class OverlayHost {
 public:
  virtual ~OverlayHost() = default;
  virtual void SetCaptureBusy(bool busy) = 0;
  virtual bool MainWasVisible() const = 0;
  // The settings the selection was started with.
  virtual const Settings& SelectionSettings() const = 0;
  virtual void CaptureSelection(const PixelRect& screenRect) = 0;
  virtual void ShowMainWindow() = 0;
  virtual void ShowHiddenViewers() = 0;
  // The user switched the magnifier on or off during the selection; the choice is to be kept.
  virtual void OnMagnifierToggled(bool on) = 0;
};

class OverlayWindow final : public Window {
 public:
  OverlayWindow(HWND mainWindow, OverlayHost& host);
  ~OverlayWindow() override;

  // Covers the given screen area and starts a selection, with the magnifier when the selection's
  // settings ask for it.
  void ShowOver(const PixelRect& bounds);

 private:
  struct State;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Takes the keyboard back while the veil is up and nobody else has it.
  void KeepKeyboard();
  // Magnifier: the copy of the screen it draws from, and following the pointer.
  void TakeScreenCopy();
  void RetakeScreenCopyBehindOverlay();
  void ToggleMagnifier();
  void MagnifierFollows(Position client);
  std::unique_ptr<State> state_;
  OverlayHost& host_;
};

}  // namespace kmrn
