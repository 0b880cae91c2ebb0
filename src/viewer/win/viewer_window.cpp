#include "viewer/win/viewer_window.h"

#include <windowsx.h>

#include <optional>

#include "framework/app_error.h"
#include "framework/win/dpi.h"
#include "framework/win/geometry_win.h"
#include "framework/win/layered.h"
#include "framework/win/text_win.h"
#include "framework/win/topmost.h"
#include "framework/win/ui_font.h"
#include "framework/win/window_query.h"
#include "framework/window_magnet.h"
#include "picture/image_files.h"
#include "picture/picture_shrink.h"
#include "picture/picture_transform.h"
#include "picture/win/base_file_name_win.h"
#include "picture/win/dib_win.h"
#include "picture/win/drag_picture.h"
#include "viewer/viewer_fade.h"
#include "viewer/viewer_frame.h"
#include "viewer/win/hand_over_win.h"

namespace kmrn {
namespace {

constexpr UINT_PTR CloseTimerId = 1;  // the fade-out
constexpr UINT_PTR LabelTimerId = 2;  // the zoom percentage sliding away
constexpr UINT TimerIntervalMs = 10;

constexpr DWORD ViewerStyle = WS_POPUP | WS_CLIPCHILDREN;

// ViewWinColor is 0x00BBGGRR; a hand-edited file may set the top byte, which GDI would read as a
// palette reference instead of a colour.
COLORREF FrameColorFromSetting(std::int32_t viewWinColor) { return static_cast<COLORREF>(viewWinColor) & 0x00FFFFFF; }

// The picture at a zoom level, always made from the picture as the viewer was created, at the
// display's depth as a zoom step leaves it. Shrinking averages the pixels it merges (our own box
// filter, the same on every system), so that thin lines and small text in a screenshot fade
// rather than drop out; enlarging repeats each pixel exactly.
Dib ZoomedPicture(const Dib& base, PixelSize size, StretchQuality quality) {
  if (quality == StretchQuality::Averaging) return AtDisplayDepth(ShrinkByAveraging(base, size), size);
  return AtDisplayDepth(base, size);
}

}  // namespace

const ViewerWindow::CommandAction ViewerWindow::Commands[] = {
    {ViewerCommand::Copy, &ViewerWindow::CopyPicture, &Settings::AutoCloseCopy},
    {ViewerCommand::OpenInEditor, &ViewerWindow::OpenInEditor, &Settings::AutoClosePaint},
    {ViewerCommand::SaveBmp, &ViewerWindow::SavePictureAsBmp, &Settings::AutoCloseBmp},
    {ViewerCommand::SaveJpeg, &ViewerWindow::SavePictureAsJpeg, &Settings::AutoCloseJpg},
    {ViewerCommand::SavePng, &ViewerWindow::SavePictureAsPng, &Settings::AutoClosePng},
    {ViewerCommand::MirrorLeftRight, &ViewerWindow::MirrorPictureLeftRight, nullptr},
    {ViewerCommand::MirrorTopBottom, &ViewerWindow::MirrorPictureTopBottom, nullptr},
    {ViewerCommand::RotateClockwise, &ViewerWindow::RotatePicture, nullptr},
    {ViewerCommand::Close, &ViewerWindow::OnCloseRequest, nullptr},
    {ViewerCommand::CloseAll, &ViewerWindow::CloseAllViewers, nullptr},
};

ViewerWindow::ViewerWindow(HWND owner, Dib picture, Position position, ViewerRegistry& registry,
                           const Settings& settings)
    : registry_(registry),
      settings_(settings),
      frameWidth_(ViewerFrameWidth(settings.ViewWinBorder)),
      frameColor_(static_cast<std::int32_t>(FrameColorFromSetting(settings.ViewWinColor))),
      frameBrush_(CreateSolidBrush(FrameColorFromSetting(settings.ViewWinColor))),
      menu_(ViewerMenu),
      base_(std::move(picture)),
      picture_(base_),
      closeTimer_(CloseTimerId, TimerIntervalMs),
      labelTimer_(LabelTimerId, TimerIntervalMs) {
  menu_.SetCaption(Id(ViewerCommand::OpenInEditor), settings.OpenApplicationStr);
  const PixelSize outer = ViewerOuterSize({picture_.width, picture_.height}, frameWidth_);
  const RECT bounds = ToRECT(PixelRect{position.left, position.top, outer.width, outer.height});
  // Owned by the main window: no taskbar button, and always above the main window.
  CreateWindowOfClass({ViewerWindowClass, nullptr, CS_DBLCLKS, nullptr}, 0, ViewerStyle, ViewerWindowCaption, owner,
                      bounds);

  HWND hwnd = Handle();
  const ScreenRect created = WindowRectOf(hwnd);
  saved_ = {created.left, created.top};

  label_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, hwnd, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  labelFont_ = CreateUiFont(DpiOf(hwnd));
  if (label_) SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.Get()), FALSE);
}

ViewerWindow::~ViewerWindow() {
  closeTimer_.Stop();
  labelTimer_.Stop();
  // The label goes with the window, before the font it uses.
  DestroyHandle();
}

void ViewerWindow::ShowAt(Position position, bool takeFocus) {
  HWND hwnd = Handle();
  saved_ = position;
  if (IsWindowVisible(hwnd)) {
    SetWindowPos(hwnd, nullptr, position.left, position.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(hwnd, takeFocus ? SW_SHOW : SW_SHOWNA);
  if (takeFocus) {
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
  }
}

void ViewerWindow::ShowAgain() { ShowWindow(Handle(), SW_SHOWNA); }

void ViewerWindow::HideForCapture() {
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  saved_ = {outer.left, outer.top};
  ShowWindow(Handle(), SW_HIDE);
}

void ViewerWindow::SetTopMost(bool onTop) {
  SetTopMostBand(Handle(), onTop);
  ShowWindow(Handle(), SW_SHOWNA);
}

void ViewerWindow::SetAlphaBlend(bool on) {
  // Switched on again in the middle of a fade, the window goes on from the alpha it had reached.
  if (on) {
    SetWindowAlpha(Handle(), alpha_);
  } else {
    ClearWindowAlpha(Handle());
  }
}

LRESULT ViewerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE:
      if (wParam) {
        OnNcCalcSize(reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]);
      } else {
        OnNcCalcSize(*reinterpret_cast<RECT*>(lParam));
      }
      return 0;
    case WM_NCPAINT: PaintFrame(); return 0;
    case WM_NCACTIVATE: {
      // The default draws the (absent) caption; the frame is ours to paint afterwards.
      LRESULT result = DefaultHandling(message, wParam, lParam);
      PaintFrame();
      return result;
    }
    case WM_ERASEBKGND: return 1;  // the picture covers the whole client area
    case WM_PAINT: OnPaint(); return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == label_) return OnLabelColor(reinterpret_cast<HDC>(wParam));
      break;
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
    case WM_LBUTTONDOWN: OnLeftButtonDown(wParam); return 0;
    case WM_LBUTTONDBLCLK: OnLeftButtonDoubleClick(); return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && lParam == 0) OnCommand(static_cast<ViewerCommand>(LOWORD(wParam)));
      return 0;
    case WM_MBUTTONUP: OnMiddleButtonUp(); return 0;
    case WM_MOUSEWHEEL: OnWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_CONTEXTMENU: OnContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_CLOSE:
      // The window is never destroyed here: the registry destroys closed viewers all at once.
      OnCloseRequest();
      return 0;
    case WM_TIMER:
      if (wParam == CloseTimerId) {
        OnCloseTimer();
        return 0;
      }
      if (wParam == LabelTimerId) {
        OnLabelTimer();
        return 0;
      }
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void ViewerWindow::OnNcCalcSize(RECT& proposedWindow) {
  const ScreenRect client = ViewerClientRect(FromRECT(proposedWindow), frameWidth_);
  proposedWindow = ToRECT(client);
}

void ViewerWindow::PaintFrame() {
  if (frameWidth_ == 0) return;
  HWND hwnd = Handle();
  RECT outer{};
  GetWindowRect(hwnd, &outer);
  const RECT whole{0, 0, SizeOf(outer).width, SizeOf(outer).height};
  const ScreenRect client = ViewerClientRect(FromRECT(whole), frameWidth_);
  WindowDC dc(hwnd, WindowDC::Area::WholeWindow);
  if (!dc.Get()) return;
  // The four strips around the picture, each filled on its own: one fill of the whole window
  // with the picture clipped out costs milliseconds for a viewer of a whole screen.
  const RECT strips[] = {{whole.left, whole.top, whole.right, client.top},
                         {whole.left, client.bottom, whole.right, whole.bottom},
                         {whole.left, client.top, client.left, client.bottom},
                         {client.right, client.top, whole.right, client.bottom}};
  for (const RECT& strip : strips) {
    if (strip.left < strip.right && strip.top < strip.bottom) FillRect(dc.Get(), &strip, frameBrush_.Get());
  }
}

void ViewerWindow::OnPaint() {
  PaintDC dc(Handle());
  if (!picture_.bits.empty()) PaintDib(dc.Get(), picture_, dc.Area());
}

void ViewerWindow::OnWindowPosChanging(WINDOWPOS& pos) {
  // A hidden viewer comes back where it is kept, however it is shown.
  if ((pos.flags & SWP_SHOWWINDOW) && !IsWindowVisible(Handle())) {
    pos.x = saved_.left;
    pos.y = saved_.top;
    pos.flags &= ~SWP_NOMOVE;
  }
  // The magnet, with the settings as they are now; not while a capture places a new viewer.
  if (settings_.AlwaysWinMagnet && !registry_.PlacementPending()) {
    // The size the window is about to have: a zoom step moves and resizes it at once.
    const ScreenRect now = WindowRectOf(Handle());
    const PixelSize size = (pos.flags & SWP_NOSIZE) ? now.Size() : PixelSize{pos.cx, pos.cy};
    const MagnetLines lines = MagnetLinesFor(settings_, registry_.WorkArea(), DesktopMonitors(),
                                             ToScreenRect({pos.x, pos.y, size.width, size.height}));
    const Position snapped = SnapViewer({pos.x, pos.y}, size, lines, registry_.OtherViewerRects(Handle()));
    pos.x = snapped.left;
    pos.y = snapped.top;
  }
}

void ViewerWindow::OnLeftButtonDown(WPARAM keys) {
  if (keys & MK_CONTROL) {
    DragOut();
    return;
  }
  // The picture is the viewer's caption: the system moves the window as the mouse drags it.
  POINT cursor{};
  GetCursorPos(&cursor);
  ReleaseCapture();
  SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
}

void ViewerWindow::DragOut() {
  // The picture as shown, in every form a target may read; the viewer stays as it is.
  DraggedPicture dragged;
  dragged.png = EncodePng(picture_);
  dragged.file = registry_.HandOverPng(dragged.png);
  dragged.dib = EncodePackedDib(picture_);
  DragPictureOut(dragged);
}

void ViewerWindow::OnMiddleButtonUp() {
  if (settings_.ViewWinWheelClose) OnCloseRequest();
}

void ViewerWindow::OnWheel(int delta) {
  // One zoom step per notch; a fine-grained wheel adds up its small deltas first.
  wheelRemainder_ += delta;
  while (wheelRemainder_ >= WHEEL_DELTA || wheelRemainder_ <= -WHEEL_DELTA) {
    const WheelDirection direction = wheelRemainder_ > 0 ? WheelDirection::Up : WheelDirection::Down;
    wheelRemainder_ += direction == WheelDirection::Up ? -WHEEL_DELTA : WHEEL_DELTA;
    if (std::optional<int> level = WheelZoomLevel(zoomLevel_, direction, settings_.ViewWinWheelStretch)) {
      ApplyZoom(*level);
    }
  }
}

void ViewerWindow::OnLeftButtonDoubleClick() {
  if (GetKeyState(VK_CONTROL) < 0) {
    OnCloseRequest();
    return;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  ShowMenu(cursor);
}

void ViewerWindow::OnContextMenu(POINT screenPoint) {
  const ScreenRect client = ClientRectOnScreen(Handle());
  // From the keyboard: at the picture's corner. The frame has no menu.
  if (screenPoint.x == -1 && screenPoint.y == -1) screenPoint = POINT{client.left, client.top};
  if (screenPoint.x < client.left || screenPoint.x >= client.right || screenPoint.y < client.top ||
      screenPoint.y >= client.bottom) {
    return;
  }
  ShowMenu(screenPoint);
}

void ViewerWindow::ShowMenu(POINT screenPoint) {
  if (closed_) return;
  // "全て閉じる" only while there is more than this one to close.
  menu_.RemoveItem(Id(ViewerCommand::CloseAll));
  if (registry_.OpenCount() >= 2) {
    menu_.AddItem(Id(ViewerCommand::CloseAll), PopupMenu::CaptionIn(ViewerMenu, Id(ViewerCommand::CloseAll)));
  }
  menu_.Show(Handle(), screenPoint);
}

void ViewerWindow::OnCommand(ViewerCommand command) {
  if (closed_) return;
  for (const CommandAction& action : Commands) {
    if (action.command != command) continue;
    (this->*action.run)();
    if (action.closeAfter && settings_.*action.closeAfter) OnCloseRequest();
    return;
  }
}

void ViewerWindow::CopyPicture() { registry_.PutOnClipboard(picture_); }

void ViewerWindow::OpenInEditor() { StartEditor(settings_.OpenApplication, registry_.HandOver(picture_)); }

// Each kind of file takes the first free name of its own, so that two saves in one second never
// replace each other, and a BMP, a JPEG and a PNG saved in the same second still share their name.
void ViewerWindow::SavePictureAsBmp() { SaveBmp(picture_, MakeBaseFileNameIn(settings_.SaveFile, {".bmp"}) + ".bmp"); }

void ViewerWindow::SavePictureAsJpeg() {
  SaveJpeg(picture_, MakeBaseFileNameIn(settings_.SaveFile, {".jpg"}) + ".jpg",
           ViewerJpegParams(settings_.JpgQuality, settings_.JpgProgressive));
}

void ViewerWindow::SavePictureAsPng() { SavePng(picture_, MakeBaseFileNameIn(settings_.SaveFile, {".png"}) + ".png"); }

void ViewerWindow::MirrorPictureLeftRight() {
  MirrorLeftRight(picture_);
  orientation_.Then(ViewerCommand::MirrorLeftRight);
  InvalidateRect(Handle(), nullptr, FALSE);
}

void ViewerWindow::MirrorPictureTopBottom() {
  MirrorTopBottom(picture_);
  orientation_.Then(ViewerCommand::MirrorTopBottom);
  InvalidateRect(Handle(), nullptr, FALSE);
}

void ViewerWindow::RotatePicture() {
  picture_ = RotateClockwise(picture_);
  orientation_.Then(ViewerCommand::RotateClockwise);
  ShowNewPicture();
}

void ViewerWindow::RestoreView(int zoomLevel, ViewOrientation orientation) {
  if (zoomLevel != 0) {
    picture_ = ZoomedBase(zoomLevel);
    zoomLevel_ = zoomLevel;
  }
  if (orientation.mirrored) MirrorLeftRight(picture_);
  for (int turn = 0; turn < orientation.quarterTurns; ++turn) picture_ = RotateClockwise(picture_);
  orientation_ = orientation;
  ShowNewPicture();
}

void ViewerWindow::CloseAllViewers() { registry_.CloseAll(); }

void ViewerWindow::ShowNewPicture() {
  const PixelSize outer = ViewerOuterSize({picture_.width, picture_.height}, frameWidth_);
  // The top-left corner stays where it is.
  SetWindowPos(Handle(), nullptr, 0, 0, outer.width, outer.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, FALSE);
}

Dib ViewerWindow::ZoomedBase(int level) const {
  const PixelSize size = ZoomedPictureSize({base_.width, base_.height}, level);
  // Refused before any memory is taken; the viewer stays exactly as it was, level included.
  if (!ZoomedPictureAllowed(size)) throw ImageTooLargeError(size.width, size.height);
  return ZoomedPicture(base_, size, StretchQualityForLevel(level));
}

void ViewerWindow::ApplyZoom(int level) {
  if (closed_) return;
  HWND hwnd = Handle();
  Dib zoomed = ZoomedBase(level);
  const PixelSize size{zoomed.width, zoomed.height};

  RECT outer{};
  GetWindowRect(hwnd, &outer);
  const Position position = ZoomedWindowPosition({outer.left, outer.top}, SizeOf(outer), size);
  const PixelSize outerSize = ViewerOuterSize(size, frameWidth_);

  zoomLevel_ = level;
  orientation_ = {};
  picture_ = std::move(zoomed);
  saved_ = position;
  // One move and resize, which also activates the viewer; hiding and showing it again would
  // cost a second full repaint of the screen beneath.
  SetWindowPos(hwnd, nullptr, position.left, position.top, outerSize.width, outerSize.height,
               SWP_NOZORDER | SWP_NOCOPYBITS);
  InvalidateRect(hwnd, nullptr, FALSE);
  ShowZoomLabel();
}

void ViewerWindow::ShowZoomLabel() {
  if (!label_) return;
  const std::wstring caption = Widen(ZoomLabelCaption(zoomLevel_));
  SetWindowTextW(label_, caption.c_str());
  const SIZE text = TextExtent(label_, labelFont_.Get(), caption);
  zoomLabel_ = ZoomLabel{};
  SetWindowPos(label_, HWND_TOP, zoomLabel_.left, 0, text.cx, text.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(label_, nullptr, TRUE);
  labelTimer_.Start(Handle());
}

void ViewerWindow::OnLabelTimer() {
  RECT bounds{};
  GetWindowRect(label_, &bounds);
  const std::int32_t oldLeft = zoomLabel_.left;
  const bool keepGoing = AdvanceZoomLabel(zoomLabel_, SizeOf(bounds).width);
  if (zoomLabel_.left != oldLeft) {
    SetWindowPos(label_, nullptr, zoomLabel_.left, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!keepGoing) labelTimer_.Stop();
}

LRESULT ViewerWindow::OnLabelColor(HDC dc) {
  SetTextColor(dc, ZoomLabelTextColor(frameColor_));
  SetBkColor(dc, static_cast<COLORREF>(frameColor_));
  return reinterpret_cast<LRESULT>(frameBrush_.Get());
}

void ViewerWindow::OnCloseRequest() {
  if (closed_) return;
  switch (DecideViewerClose(registry_.IsAppClosing(), settings_.ViewWinAlphaClose, fadeDone_)) {
    case CloseDecision::HideOnly: ShowWindow(Handle(), SW_HIDE); break;
    case CloseDecision::StartFade:
      if (!closeTimer_.Running()) closeTimer_.Start(Handle());
      break;
    // The program's end hides its viewers (HideOnly): only the user's closing comes here.
    case CloseDecision::Final: CloseForGood(true); break;
  }
}

void ViewerWindow::CloseForGood(bool remember) {
  closed_ = true;
  registry_.MarkViewerClosed(slotIndex_);
  closeTimer_.Stop();
  labelTimer_.Stop();
  if (remember) {
    const ScreenRect outer = WindowRectOf(Handle());
    registry_.RememberClosed(std::move(base_), {outer.TopLeft(), zoomLevel_, orientation_});
  }
  ShowWindow(Handle(), SW_HIDE);
  // A closed viewer is never shown again; its pictures are not needed either.
  base_ = Dib{};
  picture_ = Dib{};
}

void ViewerWindow::OnCloseTimer() {
  const FadeTick tick = AdvanceFade(alpha_);
  if (tick.done) {
    fadeDone_ = true;
    closeTimer_.Stop();
    OnCloseRequest();
    return;
  }
  alpha_ = static_cast<BYTE>(tick.alpha);
  // Without alpha blending (switched off for a capture) the window just goes after as many ticks.
  if (HasWindowAlpha(Handle())) SetLayeredWindowAttributes(Handle(), 0, alpha_, LWA_ALPHA);
}

}  // namespace kmrn
