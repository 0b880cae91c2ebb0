#pragma once
// One viewer window: a picture in a thin coloured frame, moved by dragging the picture, zoomed in
// steps with the wheel, closed by a middle click (and later its context menu), optionally with a
// short fade-out. The decisions are in viewer_zoom, viewer_fade and viewer_frame; this class
// turns messages into them and carries out what they say.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/geometry.h"
#include "framework/win/gdi.h"
#include "framework/win/timer.h"
#include "framework/win/window.h"
#include "viewer/viewer_zoom.h"

namespace kmrn {

inline constexpr const wchar_t* ViewerWindowClass = L"KMRN_VIEW_WINDOW";
inline constexpr const wchar_t* ViewerWindowCaption = L"KMRN Viewer";

// What a viewer asks of the registry that owns it.
class ViewerRegistry {
 public:
  virtual ~ViewerRegistry() = default;
  // The program is ending: a close request only hides the window.
  virtual bool IsAppClosing() const = 0;
  // The viewer has closed for good; its slot no longer counts as open.
  virtual void MarkViewerClosed(std::size_t slotIndex) = 0;
};

class ViewerWindow final : public Window {
 public:
  // Makes the hidden window at `position` with its own copies of the picture. The frame colour,
  // frame width and the editor menu caption are taken from the settings now and kept.
  ViewerWindow(HWND owner, HBITMAP picture, Position position, ViewerRegistry& registry);
  ~ViewerWindow() override;

  void SetSlotIndex(std::size_t index) { slotIndex_ = index; }

  // Shows the window at the given place, which is also where it comes back to after a capture.
  void ShowAt(Position position, bool takeFocus);
  // Shows a hidden viewer again at its kept place.
  void ShowAgain();
  // Keeps the current place and hides the window while the screen is copied.
  void HideForCapture();
  void SetTopMost(bool onTop);
  void SetAlphaBlend(bool on);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void OnNcCalcSize(RECT& proposedWindow);
  void PaintFrame();
  void OnPaint();
  void OnWindowPosChanging(WINDOWPOS& pos);
  void OnLeftButtonDown();
  void OnMiddleButtonUp();
  void OnWheel(int delta);
  void OnContextMenu(POINT screenPoint);
  void OnCloseRequest();
  void OnCloseTimer();
  void OnLabelTimer();
  LRESULT OnLabelColor(HDC dc);

  void ApplyZoom(int level);
  void ShowZoomLabel();

  ViewerRegistry& registry_;
  const std::int32_t frameWidth_;
  const std::int32_t frameColor_;    // 0x00BBGGRR
  const std::string editorCaption_;  // the context menu's editor command, as it was at creation
  Brush frameBrush_;
  Font labelFont_;
  HWND label_ = nullptr;  // child window, destroyed with the viewer

  Bitmap baseBitmap_;  // the picture as the viewer was made; every zoom step starts from it
  Bitmap picture_;     // what the window shows
  Position saved_{-1, -1};
  std::size_t slotIndex_ = 0;
  int zoomLevel_ = 0;
  int wheelRemainder_ = 0;
  ZoomLabel zoomLabel_;
  BYTE alpha_ = 255;
  bool fadeDone_ = false;
  bool closed_ = false;  // the final close has run; the object waits to be destroyed
  Timer closeTimer_;
  Timer labelTimer_;
};

}  // namespace kmrn
