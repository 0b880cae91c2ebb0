#include "capture/win/capture_engine.h"

#include <algorithm>
#include <future>
#include <optional>
#include <utility>
#include <vector>

#include "capture/capture_geometry.h"
#include "capture/win/screen_copy_win.h"
#include "capture/win/window_list_win.h"
#include "framework/app_error.h"
#include "framework/file_system.h"
#include "framework/finally.h"
#include "framework/win/topmost.h"
#include "framework/win/window_query.h"
#include "picture/image_files.h"
#include "picture/win/base_file_name_win.h"
#include "picture/win/clipboard_picture.h"
#include "picture/win/dib_win.h"
#include "viewer/win/viewers.h"

namespace kmrn {
namespace {

// Restoring a minimised window animates; the capture waits for it to finish.
constexpr DWORD RestoreWaitMs = 300;

// The rectangle of a window capture, narrowed to the client area when AlwaysWinClient says so; the
// desktop's, every monitor when they are all used.
PixelRect CaptureRectOf(HWND window, const Settings& settings) {
  return WindowCaptureRect(ClassNameOf(window), WindowRectOf(window), ClientRectOnScreen(window), settings,
                           DesktopMonitors());
}

// The pause between hiding the program's windows and the copy, so that what lay beneath them has
// been repainted. A hand-edited negative value means no pause.
void WaitBeforeCopy(const Settings& settings) { Sleep(static_cast<DWORD>(std::max(settings.CaptureWait, 0))); }

}  // namespace

CaptureEngine::CaptureEngine(CaptureHost& host, Viewers& viewers, ClipboardPicture& clipboard)
    : host_(host),
      viewers_(viewers),
      clipboard_(clipboard),
      overlay_(std::make_unique<OverlayWindow>(host.MainHandle(), static_cast<OverlayHost&>(*this))) {}

CaptureEngine::~CaptureEngine() = default;

void CaptureEngine::CaptureRect(const PixelRect& rect, const CaptureChoices& choices, const Settings& settings) {
  // A window that shrank to nothing since it was chosen has no pixels to take.
  if (rect.width <= 0 || rect.height <= 0) return;

  // Viewers that stay on screen must be plain windows at the moment of the copy; their blending
  // comes back afterwards, also when a file could not be written.
  const bool blendingOff = settings.ViewWinAlphaClose && !settings.AlwaysHideView;
  if (blendingOff) viewers_.SetAlphaBlend(false);
  bool blendingBack = !blendingOff;
  auto blendAgain = [&] {
    if (!blendingBack) {
      blendingBack = true;
      viewers_.SetAlphaBlend(true);
    }
  };

  RunThenAlways(
      [&] {
        // Windows hidden for this capture (the overlay, the main window, viewers) must not be
        // in the picture.
        WaitForHiddenWindowsToLeaveScreen();
        SectionDib picture = CopyScreenRect(rect, OffMonitorsFor(settings));
        DrawSnappedPointer(picture, rect);

        // One name for every file of this capture, taken after the copy. With SavePng on, the
        // first file is a PNG instead of the BMP.
        const bool png = settings.SavePng;
        const std::string base = MakeBaseFileNameIn(settings.SaveFile, {png ? ".png" : ".bmp", ".jpg"});
        // A clipboard that another program keeps busy costs only the clipboard copy; the files
        // and the viewer still come, and nothing is said.
        if (settings.AlwaysClipBoard) {
          try {
            clipboard_.Put(picture.dib, picture.bitmap->Get());
          } catch (const AppError&) {
          }
        }

        // The PNG and the JPEG are encoded on other cores while the BMP is written and the
        // viewer is made ready. What the user sees keeps its order: the first file (BMP or PNG),
        // then the JPEG, then the viewer, and a file that cannot be written leaves no later file
        // and no viewer (the viewer made ready closes unseen). Should anything fail, the futures
        // wait for the encoders before the picture goes.
        const bool savePng = choices.saveBmp && png;
        std::future<std::vector<std::uint8_t>> encodedPng, jpeg;
        if (savePng) encodedPng = std::async(std::launch::async, [&picture] { return EncodePng(picture.dib); });
        if (choices.saveJpg) {
          jpeg = std::async(std::launch::async, [&picture] { return EncodeJpeg(picture.dib, CaptureJpegParams); });
        }
        if (choices.saveBmp && !png) SaveBmp(picture.dib, base + ".bmp");
        // The viewer keeps these very pixels as its picture.
        std::optional<Viewers::Placement> placed;
        if (choices.viewer) {
          placed.emplace(viewers_, picture.dib,
                         CapturedViewerPosition(settings, rect, viewers_.WorkArea(), DesktopMonitors()),
                         choices.topMost);
        }
        if (savePng) WriteWholeFile(base + ".png", encodedPng.get());
        if (choices.saveJpg) WriteWholeFile(base + ".jpg", jpeg.get());

        if (placed) {
          // The others blend again before the new viewer shows, which blends from the start.
          blendAgain();
          placed->Show();
        }
      },
      blendAgain);

  host_.OnCaptured();
  lastCaptureRect_ = rect;
}

void CaptureEngine::CaptureWhileHidden(const PixelRect& rect, const CaptureChoices& choices, const Settings& settings,
                                       bool showMainAfter) {
  RunThenAlways(
      [&] {
        host_.HideMainWindow();
        if (settings.AlwaysHideView) viewers_.HideForCapture();
        WaitBeforeCopy(settings);
        CaptureRect(rect, choices, settings);
      },
      [&] {
        if (showMainAfter) host_.ShowMainWindow();
        viewers_.ShowHidden();
      });
}

void CaptureEngine::StartRangeSelection(const CaptureChoices& choices, const Settings& settings) {
  selectionChoices_ = choices;
  selectionSettings_ = settings;
  host_.HideMainWindow();
  if (settings.AlwaysHideView) viewers_.HideForCapture();
  overlay_->ShowOver(OverlayBounds(settings, DesktopRect(), DesktopMonitors()));
}

void CaptureEngine::OnCaptureButton(const CaptureChoices& choices, const Settings& settings) {
  SnapPointerFor(settings);
  host_.RememberMainPosition();
  viewers_.FreeClosed();
  mainWasVisible_ = true;

  if (choices.sameRect) {
    // The command is enabled only after a capture, but a rectangle is needed all the same.
    if (lastCaptureRect_) CaptureWhileHidden(*lastCaptureRect_, choices, settings, true);
    return;
  }

  if (choices.windowMode) {
    HWND target = choices.listWindow;
    // Also false for a window that has gone since the list was made.
    if (!target || !IsWindowEnabled(target)) return;
    if (IsIconic(target)) {
      RestoreListedWindow(target);
      Sleep(RestoreWaitMs);
    }
    SetForegroundWindow(target);
    CaptureWhileHidden(CaptureRectOf(target, settings), choices, settings, true);
    return;
  }

  StartRangeSelection(choices, settings);
}

void CaptureEngine::OnWindowHotKey(const CaptureChoices& choices, const Settings& settings) {
  if (captureBusy_) return;
  SnapPointerFor(settings);
  host_.RememberMainPosition();
  mainWasVisible_ = host_.MainWindowVisible();

  HWND target = GetForegroundWindow();
  if (!target || target == host_.MainHandle()) return;
  const PixelRect rect = CaptureRectOf(target, settings);

  captureBusy_ = true;
  RunThenAlways([&] { CaptureWhileHidden(rect, choices, settings, mainWasVisible_); }, [&] { captureBusy_ = false; });
}

void CaptureEngine::OnRangeHotKey(const CaptureChoices& choices, const Settings& settings) {
  if (captureBusy_) return;
  SnapPointerFor(settings);
  host_.RememberMainPosition();
  mainWasVisible_ = host_.MainWindowVisible();

  if (choices.sameRect) {
    if (lastCaptureRect_) CaptureWhileHidden(*lastCaptureRect_, choices, settings, mainWasVisible_);
    return;
  }

  // The program must own the foreground to hand it to the overlay, so that Esc reaches it.
  SetForegroundWindow(host_.MainHandle());
  StartRangeSelection(choices, settings);
}

void CaptureEngine::CaptureSelection(const PixelRect& screenRect) {
  CaptureRect(screenRect, selectionChoices_, selectionSettings_);
}

void CaptureEngine::SnapPointerFor(const Settings& settings) {
  // Off, the pointer is not even asked for.
  pointer_.reset();
  if (settings.CaptureCursor) pointer_ = SnapPointer();
}

void CaptureEngine::DrawSnappedPointer(SectionDib& picture, const PixelRect& rect) {
  // Used once: a capture that no trigger started shows no pointer of an earlier one.
  const std::optional<PointerSnapshot> pointer = std::exchange(pointer_, std::nullopt);
  if (pointer) DrawPointerSnapshot(picture, *pointer, rect);
}

void CaptureEngine::ShowMainWindow() { host_.ShowMainWindow(); }

void CaptureEngine::ShowHiddenViewers() { viewers_.ShowHidden(); }

void CaptureEngine::OnMagnifierToggled(bool on) {
  selectionSettings_.Magnifier = on;
  host_.OnMagnifierToggled(on);
}

}  // namespace kmrn
