#include "capture/win/capture_engine.h"

#include "framework/win/topmost.h"

#include <algorithm>

#include "capture/capture_geometry.h"
#include "capture/win/screen_copy_win.h"
#include "framework/finally.h"
#include "settings/settings.h"
#include "viewer/image_files.h"
#include "viewer/win/base_file_name_win.h"
#include "viewer/win/dib_win.h"
#include "viewer/win/viewers.h"

namespace kmrn {
namespace {

// Restoring a minimised window animates; the capture waits for it to finish.
constexpr DWORD RestoreWaitMs = 300;

// An input-method window that restores itself in its own way when it is brought forward.
constexpr const wchar_t* NotRestoredClass = L"IMWindowClass";

ScreenRect RectOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The rectangle of a window capture, narrowed to the client area when AlwaysWinClient says so.
PixelRect WindowCaptureRect(HWND window) {
  RECT outer{};
  RECT client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  return NarrowToClientArea(RectOf(outer), RectOf(client), Settings.AlwaysWinClient);
}

// The pause between hiding the program's windows and the copy, so that what lay beneath them has
// been repainted. A hand-edited negative value means no pause.
void WaitBeforeCopy() { Sleep(static_cast<DWORD>(std::max(Settings.CaptureWait, 0))); }

bool HasClass(HWND window, const wchar_t* className) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return lstrcmpW(name, className) == 0;
}

}  // namespace

CaptureEngine::CaptureEngine(CaptureHost& host)
    : host_(host), overlay_(std::make_unique<OverlayWindow>(host.MainHandle(), static_cast<OverlayHost&>(*this))) {}

CaptureEngine::~CaptureEngine() = default;

void CaptureEngine::CaptureRect(const PixelRect& rect) {
  // A window that shrank to nothing since it was chosen has no pixels to take.
  if (rect.width <= 0 || rect.height <= 0) return;

  // Viewers that stay on screen must be plain windows at the moment of the copy; their blending
  // comes back afterwards, also when a file could not be written.
  const bool blendingOff = Settings.ViewWinAlphaClose && !Settings.AlwaysHideView;
  if (blendingOff) SetViewersAlphaBlend(false);
  bool blendingBack = !blendingOff;
  auto blendAgain = [&] {
    if (!blendingBack) {
      blendingBack = true;
      SetViewersAlphaBlend(true);
    }
  };

  RunThenAlways(
      [&] {
        // Windows hidden for this capture (the overlay, the main window, viewers) must not be
        // in the picture.
        WaitForHiddenWindowsToLeaveScreen();
        const Bitmap picture = CopyScreenRect(rect);

        // One name for every file of this capture, taken after the copy.
        const std::string base = MakeBaseFileName({".bmp", ".jpg"});
        // A clipboard that another program keeps busy costs only the clipboard copy; the files
        // and the viewer still come.
        if (Settings.AlwaysClipBoard) PutBitmapOnClipboard(host_.MainHandle(), picture.Get());

        if (host_.SaveBmpChecked() || host_.SaveJpgChecked()) {
          const Dib pixels = DibFromBitmap(picture.Get());
          if (host_.SaveBmpChecked()) SaveBmp(pixels, base + ".bmp");
          if (host_.SaveJpgChecked()) SaveJpeg(pixels, base + ".jpg", CaptureJpegParams);
        }

        if (host_.ViewerChecked()) {
          const Position position =
              CapturedViewerPosition(Settings.CapturedWinPos, rect, Settings.ViewWinBorder, GetWorkArea());
          SetNextViewerPosition(position);
          RunThenAlways(
              [&] {
                HWND viewer = CreateViewer(picture.Get());
                SetTopMostBand(viewer, host_.TopMostChecked());
                // The new viewer blends like the others from its first showing.
                blendAgain();
                ShowViewerAt(viewer, position, false);
              },
              [] { ClearNextViewerPosition(); });
        }
      },
      blendAgain);

  host_.EnableSameRect();
  lastCaptureRect_ = rect;
}

void CaptureEngine::CaptureWhileHidden(const PixelRect& rect, bool showMainAfter) {
  RunThenAlways(
      [&] {
        host_.HideMainWindow();
        HideViewersForCapture();
        WaitBeforeCopy();
        CaptureRect(rect);
      },
      [&] {
        if (showMainAfter) host_.ShowMainWindow();
        ::kmrn::ShowHiddenViewers();
      });
}

void CaptureEngine::ShowSelectionOverlay() {
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  overlay_->ShowOver(OverlayBounds(Settings, RectOf(desktop)));
}

void CaptureEngine::OnCaptureButton() {
  host_.RememberMainPosition();
  FreeClosedViewers();
  mainWasVisible_ = true;

  if (host_.SameRectChecked()) {
    // The command is enabled only after a capture, but a rectangle is needed all the same.
    if (lastCaptureRect_) CaptureWhileHidden(*lastCaptureRect_, true);
    return;
  }

  if (host_.WindowModeChecked()) {
    const std::optional<HWND> selected = host_.SelectedListWindow();
    if (!selected) return;
    HWND target = *selected;
    // Also false for a window that has gone since the list was made.
    if (!IsWindowEnabled(target)) return;
    if (IsIconic(target)) {
      if (!HasClass(target, NotRestoredClass)) OpenIcon(target);
      Sleep(RestoreWaitMs);
    }
    SetForegroundWindow(target);
    CaptureWhileHidden(WindowCaptureRect(target), true);
    return;
  }

  host_.HideMainWindow();
  HideViewersForCapture();
  ShowSelectionOverlay();
}

void CaptureEngine::OnWindowHotKey() {
  if (captureBusy_) return;
  host_.RememberMainPosition();
  mainWasVisible_ = host_.MainWindowVisible();

  HWND target = GetForegroundWindow();
  if (!target || target == host_.MainHandle()) return;
  const PixelRect rect = WindowCaptureRect(target);

  captureBusy_ = true;
  RunThenAlways([&] { CaptureWhileHidden(rect, mainWasVisible_); }, [&] { captureBusy_ = false; });
}

void CaptureEngine::OnRangeHotKey() {
  if (captureBusy_) return;
  host_.RememberMainPosition();
  mainWasVisible_ = host_.MainWindowVisible();

  if (host_.SameRectChecked()) {
    if (lastCaptureRect_) CaptureWhileHidden(*lastCaptureRect_, mainWasVisible_);
    return;
  }

  // The program must own the foreground to hand it to the overlay, so that Esc reaches it.
  SetForegroundWindow(host_.MainHandle());
  host_.HideMainWindow();
  HideViewersForCapture();
  ShowSelectionOverlay();
}

void CaptureEngine::CaptureSelection(const PixelRect& screenRect) { CaptureRect(screenRect); }

void CaptureEngine::ShowMainWindow() { host_.ShowMainWindow(); }

void CaptureEngine::ShowHiddenViewers() { ::kmrn::ShowHiddenViewers(); }

}  // namespace kmrn
