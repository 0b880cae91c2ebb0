#include "capture/win/overlay_window.h"

#include <windowsx.h>

#include <map>

#include "capture/overlay_selection.h"
#include "capture/win/magnifier_window.h"
#include "capture/win/screen_copy_win.h"
#include "framework/app_error.h"
#include "framework/finally.h"
#include "framework/win/dpi.h"
#include "framework/win/gdi.h"
#include "framework/win/geometry_win.h"
#include "framework/win/layered.h"
#include "framework/win/text_win.h"
#include "framework/win/timer.h"
#include "framework/win/ui_font.h"
#include "framework/win/window_query.h"
#include "settings/settings.h"

namespace kmrn {
namespace {

constexpr const wchar_t* OverlayClass = L"KMRN_RANGE_OVERLAY";
constexpr const wchar_t* OverlayCaption = L"FormKN_Serect";

// About 38 % opaque: the screen stays readable beneath the white veil.
constexpr BYTE OverlayAlpha = 96;

constexpr COLORREF EraseColour = RGB(255, 255, 255);
constexpr COLORREF BandColour = RGB(0, 0, 255);
constexpr COLORREF LabelTextColour = RGB(0, 0, 0);
constexpr COLORREF LabelBackColour = RGB(255, 255, 255);

// While the veil is up, how often it makes sure that it has the keyboard (see KeepKeyboard).
constexpr UINT_PTR KeyboardWatchTimerId = 1;
constexpr UINT KeyboardWatchMs = 50;

}  // namespace

struct OverlayWindow::State {
  OverlaySelection selection;
  Brush eraseBrush{CreateSolidBrush(EraseColour)};
  Brush bandBrush{CreateSolidBrush(BandColour)};
  // The label's font at each DPI the pointer has been at, made when first needed: the label and its
  // erase box are sized for the monitor under the pointer.
  std::map<int, Font> labelFonts;
  bool mouseCaptured = false;
  Timer keyboardWatch{KeyboardWatchTimerId, KeyboardWatchMs};
  PixelRect bounds;  // the screen area covered
  // Made at its first use: a user who leaves the magnifier off never has one.
  std::unique_ptr<MagnifierWindow> magnifier;
  bool magnifierOn = false;
  bool hiddenForCopy = false;  // stepped aside for a screen copy during the selection
};

namespace {

HFONT LabelFont(std::map<int, Font>& fonts, int dpi) {
  auto found = fonts.find(dpi);
  if (found == fonts.end()) found = fonts.emplace(dpi, CreateUiFont(dpi)).first;
  return found->second.Get();
}

// The DPI of the monitor under a point of the overlay's client area.
int DpiAtClient(const OverlaySelection& selection, Position client) {
  return DpiAt(POINT{SaturateToInt32(std::int64_t{selection.Origin.left} + client.left),
                     SaturateToInt32(std::int64_t{selection.Origin.top} + client.top)});
}

}  // namespace

OverlayWindow::OverlayWindow(HWND mainWindow, OverlayHost& host) : state_(std::make_unique<State>()), host_(host) {
  // Owned by the main window: no taskbar button, and it goes with the main window.
  CreateWindowOfClass({OverlayClass, nullptr, 0, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))},
                      WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, OverlayCaption, mainWindow, RECT{0, 0, 0, 0});
  SetWindowAlpha(Handle(), OverlayAlpha);
}

OverlayWindow::~OverlayWindow() { DestroyHandle(); }

void OverlayWindow::ShowOver(const PixelRect& bounds) {
  State& state = *state_;
  state.bounds = bounds;
  // The magnifier shows the screen as it was before the veil came: copied once, now.
  state.magnifierOn = host_.SelectionSettings().Magnifier;
  if (state.magnifierOn) {
    // A screen too big to copy costs the magnifier, not the selection.
    try {
      TakeScreenCopy();
    } catch (const AppError&) {
      state.magnifierOn = false;
    }
  }
  SetWindowPos(Handle(), HWND_TOPMOST, bounds.x, bounds.y, bounds.width, bounds.height, SWP_SHOWWINDOW);
  // Where the overlay really is: the screen point under each client pixel is what gets captured.
  OnOverlayShown(state.selection, ClientRectOnScreen(Handle()).TopLeft());
  // Esc must reach the overlay, so it takes the keyboard as well.
  SetForegroundWindow(Handle());
  SetFocus(Handle());
  if (state.magnifierOn) {
    POINT pointer{};
    GetCursorPos(&pointer);
    MagnifierFollows({pointer.x - state.selection.Origin.left, pointer.y - state.selection.Origin.top});
  }
}

void OverlayWindow::TakeScreenCopy() {
  State& state = *state_;
  if (!state.magnifier) state.magnifier = std::make_unique<MagnifierWindow>(Handle());
  // Windows hidden for the selection (the main window, viewers) must not be in it.
  WaitForHiddenWindowsToLeaveScreen();
  state.magnifier->Keep(CopyScreenRect(state.bounds, OffMonitorsFor(host_.SelectionSettings())), state.bounds);
}

void OverlayWindow::RetakeScreenCopyBehindOverlay() {
  // The magnifier was switched on during a selection that started without it, so no copy was
  // taken before the veil came (a user who leaves it off pays nothing for it). The veil steps
  // aside for one as it does for the capture itself, and comes back with its band and label; the
  // mouse capture, the keyboard and the selection carry on.
  State& state = *state_;
  HWND hwnd = Handle();
  const bool captured = state.mouseCaptured;
  state.hiddenForCopy = true;
  RunThenAlways(
      [&] {
        ShowWindow(hwnd, SW_HIDE);
        TakeScreenCopy();
      },
      [&] {
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        state.hiddenForCopy = false;
        // The window system may have dropped what the veil showed while it was hidden.
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
        if (captured && GetCapture() != hwnd) {
          SetCapture(hwnd);
          state.mouseCaptured = true;
        }
      });
}

void OverlayWindow::ToggleMagnifier() {
  State& state = *state_;
  state.magnifierOn = !state.magnifierOn;
  if (state.magnifierOn) {
    if (!state.magnifier || !state.magnifier->HasCopy()) {
      try {
        RetakeScreenCopyBehindOverlay();
      } catch (...) {
        state.magnifierOn = false;  // nothing to show; the failure goes on to the error box
        throw;
      }
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    MagnifierFollows({pointer.x - state.selection.Origin.left, pointer.y - state.selection.Origin.top});
  } else if (state.magnifier) {
    // The copy stays until the selection ends: switched on again, the magnifier is back at once.
    state.magnifier->Hide();
  }
  host_.OnMagnifierToggled(state.magnifierOn);
}

void OverlayWindow::MagnifierFollows(Position client) {
  State& state = *state_;
  if (!state.magnifierOn || !state.magnifier || state.selection.State == OverlayState::Hidden) return;
  state.magnifier->Follow({SaturateToInt32(std::int64_t{state.selection.Origin.left} + client.left),
                           SaturateToInt32(std::int64_t{state.selection.Origin.top} + client.top)});
}

void OverlayWindow::KeepKeyboard() {
  // Esc must reach the veil. A window system that settles the focus late (Wine, after the main
  // window has hidden) may hand the foreground to the bare desktop after the overlay took it; the
  // overlay then takes it back. Another program the user brings forward keeps it.
  const HWND front = GetForegroundWindow();
  if (IsWindowVisible(Handle()) && (!front || front == GetDesktopWindow())) {
    SetForegroundWindow(Handle());
    SetFocus(Handle());
  }
}

namespace {

PixelSize ClientSizeOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return SizeOf(client);
}

MouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return MouseButton::Right;
    default: return MouseButton::Middle;
  }
}

}  // namespace

LRESULT OverlayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = Handle();
  State& state = *state_;

  auto drawOn = [&](HDC dc, const OverlayDraw& draw) {
    const RECT rect = ToRECT(draw.rect);
    switch (draw.kind) {
      case OverlayDraw::Kind::FillErase: FillRect(dc, &rect, state.eraseBrush.Get()); break;
      case OverlayDraw::Kind::FillBand: FillRect(dc, &rect, state.bandBrush.Get()); break;
      case OverlayDraw::Kind::DrawLabel: {
        Selection font(dc, LabelFont(state.labelFonts, draw.dpi));
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, LabelBackColour);
        SetTextColor(dc, LabelTextColour);
        const std::wstring text = Widen(draw.text);
        TextOutW(dc, draw.x, draw.y, text.c_str(), static_cast<int>(text.size()));
        break;
      }
    }
  };

  // Carries out a step in the order its fields give. The capture may fail; the main window and the
  // viewers come back all the same, and the failure goes on to the standard error box.
  auto perform = [&](const OverlayStep& step) {
    if (step.movePointer) {
      SetCursorPos(SaturateToInt32(std::int64_t{state.selection.Origin.left} + step.movePointer->left),
                   SaturateToInt32(std::int64_t{state.selection.Origin.top} + step.movePointer->top));
    }
    if (step.raiseTopMost) SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (!step.draws.empty()) {
      // Straight onto the window, one piece at a time: only what changed is painted.
      WindowDC dc(hwnd);
      for (const OverlayDraw& draw : step.draws) drawOn(dc.Get(), draw);
    }
    if (step.hideOverlay) {
      if (state.mouseCaptured) {
        state.mouseCaptured = false;
        ReleaseCapture();
      }
      ShowWindow(hwnd, SW_HIDE);
    }
    if (step.toggleMagnifier) ToggleMagnifier();
    RunThenAlways(
        [&] {
          if (step.capture) host_.CaptureSelection(*step.capture);
        },
        [&] {
          RunThenAlways(
              [&] {
                if (step.showMainWindow) host_.ShowMainWindow();
              },
              [&] {
                if (step.showHiddenViewers) host_.ShowHiddenViewers();
              });
        });
  };

  switch (message) {
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_CROSS));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // Held until the release, so that a release beyond the overlay's edge still ends the drag.
      if (!state.mouseCaptured) {
        SetCapture(hwnd);
        state.mouseCaptured = true;
      }
      perform(OnOverlayPress(state.selection, ButtonOf(message), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_MOUSEMOVE: {
      const Position at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const OverlayStep step = OnOverlayMove(state.selection, at.left, at.top, DpiAtClient(state.selection, at));
      perform(step);
      if (!step.draws.empty()) MagnifierFollows(at);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      perform(OnOverlayRelease(state.selection, ButtonOf(message),
                               {host_.SelectionSettings(), host_.MainWasVisible(), ClientSizeOf(hwnd)}));
      return 0;
    case WM_CAPTURECHANGED: state.mouseCaptured = false; return 0;
    case WM_TIMER:
      if (wParam == KeyboardWatchTimerId) {
        KeepKeyboard();
        return 0;
      }
      break;
    case WM_CHAR: perform(OnOverlayKeyPress(state.selection, static_cast<int>(wParam), ClientSizeOf(hwnd))); return 0;
    case WM_KEYDOWN: {
      POINT pointer{};
      GetCursorPos(&pointer);
      ScreenToClient(hwnd, &pointer);
      const Position client{pointer.x, pointer.y};
      const OverlayStep step = OnOverlayKeyDown(state.selection, static_cast<int>(wParam), GetKeyState(VK_SHIFT) < 0,
                                                client, ClientSizeOf(hwnd), DpiAtClient(state.selection, client));
      if (!step.movePointer) break;
      perform(step);
      MagnifierFollows(*step.movePointer);
      return 0;
    }
    // The veil keeps what was drawn on it; should the window system ask for a part again, it gets
    // the veil, the band and the label as they are.
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintDC dc(hwnd);
      for (const OverlayDraw& draw : OverlayRepaint(state.selection, FromRECT(dc.Area()))) drawOn(dc.Get(), draw);
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      // Whatever shows or hides the overlay, a capture is under way exactly while it is shown.
      const auto& pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
      // Stepping aside for the magnifier's screen copy neither ends nor starts anything.
      if (state.hiddenForCopy) break;

      if (pos.flags & SWP_SHOWWINDOW) {
        host_.SetCaptureBusy(true);
        state.keyboardWatch.Start(hwnd);
      }
      if (pos.flags & SWP_HIDEWINDOW) {
        host_.SetCaptureBusy(false);
        state.keyboardWatch.Stop();
        // The magnifier goes with the veil, and so does its copy of the screen.
        if (state.magnifier) state.magnifier->Forget();
      }
      break;
    }
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace kmrn
