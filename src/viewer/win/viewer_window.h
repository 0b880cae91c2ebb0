#pragma once
// One viewer window: a picture in a thin coloured frame, moved by dragging the picture, zoomed in
// steps with the wheel, edited and saved from its context menu, closed by a middle click or the
// menu, optionally with a short fade-out, and snapping to the screen's and other viewers' edges
// while it moves. The decisions are in viewer_zoom, viewer_fade, viewer_frame, window_magnet and
// the picture operations; this class turns messages into them and carries out what they say.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/geometry.h"
#include "framework/win/gdi.h"
#include "framework/win/popup_menu.h"
#include "framework/win/timer.h"
#include "framework/win/window.h"
#include "picture/dib.h"
#include "settings/settings.h"
#include "viewer/closed_viewers.h"
#include "viewer/viewer_menu.h"
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
  virtual int OpenCount() const = 0;
  virtual void CloseAll() = 0;
  // A capture is placing a new viewer: the magnet keeps out of the way.
  virtual bool PlacementPending() const = 0;
  // The outer rectangles of the other open viewers in slot order, when two or more are open.
  virtual std::vector<ScreenRect> OtherViewerRects(HWND self) const = 0;
  // The work area of the main window's monitor.
  virtual ScreenRect WorkArea() const = 0;
  // Writes the picture to a file of its own for the image editor; returns its path.
  virtual std::string HandOver(const Dib& picture) = 0;
  // Puts the picture on the clipboard. Throws ClipboardError.
  virtual void PutOnClipboard(const Dib& picture) = 0;
  // Writes the PNG of a picture being dragged out to a file of its own; returns its path.
  virtual std::string HandOverPng(const std::vector<std::uint8_t>& png) = 0;
  // The user closed a viewer: its picture as it was made and how it showed it, to bring back.
  virtual void RememberClosed(Dib picture, const ClosedViewerView& view) = 0;
};

class ViewerWindow final : public Window {
 public:
  // Makes the hidden window at `position` for the picture, which it keeps at its own depth. The
  // frame colour, frame width and the editor command's caption are taken from the settings now;
  // the rest of the settings are read as they are when they are needed.
  ViewerWindow(HWND owner, Dib picture, Position position, ViewerRegistry& registry, const Settings& settings);
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
  // Closes a viewer that was never shown, at once and for good; nothing is kept of it.
  void CloseUnseen() { CloseForGood(false); }
  // A viewer brought back after closing, still hidden: zoomed and turned as it was.
  void RestoreView(int zoomLevel, ViewOrientation orientation);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void OnNcCalcSize(RECT& proposedWindow);
  void PaintFrame();
  void OnPaint();
  void OnWindowPosChanging(WINDOWPOS& pos);
  // keys: the MK_* flags; with Ctrl the picture is dragged out instead of the window.
  void OnLeftButtonDown(WPARAM keys);
  void DragOut();
  void OnLeftButtonDoubleClick();
  void OnMiddleButtonUp();
  void OnWheel(int delta);
  void OnContextMenu(POINT screenPoint);
  void OnCommand(ViewerCommand command);
  void OnCloseRequest();
  // remember: the user closed it, and it can be brought back.
  void CloseForGood(bool remember);
  void OnCloseTimer();
  void OnLabelTimer();
  LRESULT OnLabelColor(HDC dc);

  void ApplyZoom(int level);
  // The picture the viewer was made from at a zoom level; an ImageTooLargeError when that is too big.
  Dib ZoomedBase(int level) const;
  void ShowZoomLabel();
  // The picture changed: the window takes its size (keeping its top-left corner) and shows it.
  void ShowNewPicture();
  void ShowMenu(POINT screenPoint);

  // The menu's commands. One that fails throws, on to the error box, and the viewer stays.
  void CopyPicture();
  void OpenInEditor();
  void SavePictureAsBmp();
  void SavePictureAsJpeg();
  void SavePictureAsPng();
  void MirrorPictureLeftRight();
  void MirrorPictureTopBottom();
  void RotatePicture();
  void CloseAllViewers();

  // What a menu command runs, and the setting that closes the viewer once it has succeeded.
  struct CommandAction {
    ViewerCommand command;
    void (ViewerWindow::*run)();
    bool Settings::*closeAfter;
  };
  static const CommandAction Commands[];

  ViewerRegistry& registry_;
  const Settings& settings_;
  const std::int32_t frameWidth_;
  const std::int32_t frameColor_;  // 0x00BBGGRR
  Brush frameBrush_;
  Font labelFont_;
  HWND label_ = nullptr;  // child window, destroyed with the viewer
  PopupMenu menu_;

  Dib base_;     // the picture as the viewer was made; every zoom step starts from it
  Dib picture_;  // what the window shows, after zoom, mirror and rotation
  Position saved_{-1, -1};
  std::size_t slotIndex_ = 0;
  int zoomLevel_ = 0;
  ViewOrientation orientation_;  // the turns and mirrors since the last zoom step
  int wheelRemainder_ = 0;
  ZoomLabel zoomLabel_;
  BYTE alpha_ = 255;
  bool fadeDone_ = false;
  bool closed_ = false;  // the final close has run; the object waits to be destroyed
  Timer closeTimer_;
  Timer labelTimer_;
};

}  // namespace kmrn
