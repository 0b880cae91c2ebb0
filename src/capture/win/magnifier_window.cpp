#include "capture/win/magnifier_window.h"

#include <algorithm>
#include <optional>
#include <string>

#include "capture/magnifier_layout.h"
#include "framework/app_error.h"
#include "framework/win/dpi.h"
#include "framework/win/gdi.h"
#include "framework/win/geometry_win.h"
#include "framework/win/text_win.h"
#include "framework/win/ui_font.h"
#include "framework/win/win32_error.h"

namespace kmrn {
namespace {

constexpr const wchar_t* MagnifierClass = L"KMRN_MAGNIFIER";

constexpr COLORREF FrameColour = RGB(32, 32, 32);    // the margin and the text's ground
constexpr COLORREF BeyondColour = RGB(64, 64, 64);   // cells beyond the copy's edges
constexpr COLORREF GridColour = RGB(128, 128, 128);  // between the cells
// Around the pointer's cell: black on a light pixel, white on a dark one.
constexpr COLORREF CentreOnLight = RGB(0, 0, 0);
constexpr COLORREF CentreOnDark = RGB(255, 255, 255);
constexpr COLORREF TextColour = RGB(255, 255, 255);

// One rectangle filled with a brush, in the program's rectangle terms.
void Fill(HDC dc, const ScreenRect& rect, HBRUSH brush) noexcept {
  const RECT r = ToRECT(rect);
  FillRect(dc, &r, brush);
}

}  // namespace

struct MagnifierWindow::State {
  // The screen copy, selected into its own DC for as long as it is kept.
  SectionDib copy;
  PixelRect area;
  std::unique_ptr<MemoryDC> copyDC;
  std::optional<Selection> copySelected;

  // The picture of the whole window, drawn off the screen first so that it never flickers.
  std::unique_ptr<MemoryDC> backDC;
  Bitmap back;
  std::optional<Selection> backSelected;
  PixelSize backSize;

  MagnifierLook look;
  Font font;
  int fontDpi = 0;
  Brush frame{CreateSolidBrush(FrameColour)};
  Brush beyond{CreateSolidBrush(BeyondColour)};
  Brush grid{CreateSolidBrush(GridColour)};
  Brush centreOnLight{CreateSolidBrush(CentreOnLight)};
  Brush centreOnDark{CreateSolidBrush(CentreOnDark)};
  std::wstring text;  // the two lines below the cells, as one line
};

MagnifierWindow::MagnifierWindow(HWND owner) : state_(std::make_unique<State>()) {
  // No background: every pixel is drawn from the off-screen picture.
  CreateWindowOfClass({MagnifierClass, nullptr, 0, nullptr}, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                      WS_POPUP, L"", owner, RECT{0, 0, 0, 0});
}

MagnifierWindow::~MagnifierWindow() { DestroyHandle(); }

void MagnifierWindow::Keep(SectionDib copy, const PixelRect& area) {
  State& s = *state_;
  s.copySelected.reset();
  s.copyDC.reset();
  s.copy = std::move(copy);
  s.area = area;
  s.copyDC = std::make_unique<MemoryDC>(nullptr);
  if (!s.copyDC->Get()) ThrowLastSystemError("CreateCompatibleDC");
  s.copySelected.emplace(s.copyDC->Get(), s.copy.bitmap->Get());
}

bool MagnifierWindow::HasCopy() const noexcept { return state_->copyDC != nullptr; }

void MagnifierWindow::Forget() noexcept {
  Hide();
  State& s = *state_;
  s.copySelected.reset();
  s.copyDC.reset();
  s.copy = {};
}

void MagnifierWindow::Hide() noexcept {
  if (IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
}

void MagnifierWindow::DrawOffScreen(Position pointer, int dpi) {
  State& s = *state_;
  const MagnifierLook& look = s.look;
  const PixelSize size = look.BoxSize();
  if (!s.backDC || s.backSize != size) {
    s.backSelected.reset();
    WindowDC screen(nullptr);
    s.back = Bitmap(CreateCompatibleBitmap(screen.Get(), size.width, size.height));
    if (!s.back) ThrowLastSystemError("CreateCompatibleBitmap");
    if (!s.backDC) s.backDC = std::make_unique<MemoryDC>(screen.Get());
    if (!s.backDC->Get()) ThrowLastSystemError("CreateCompatibleDC");
    s.backSelected.emplace(s.backDC->Get(), s.back.Get());
    s.backSize = size;
  }
  if (s.fontDpi != dpi) {
    s.font = CreateUiFont(dpi);
    s.fontDpi = dpi;
  }
  HDC dc = s.backDC->Get();
  const std::int32_t m = look.margin, cell = look.cellSide, side = look.GridSide();
  constexpr std::int32_t cells = MagnifierLook::Cells;

  Fill(dc, {0, 0, size.width, size.height}, s.frame.Get());
  Fill(dc, {m, m, m + side, m + side}, s.beyond.Get());
  // Each pixel of the copy becomes a cell of whole pixels: no smoothing, so the colours stay exact.
  const MagnifierSource shown = MagnifierSourceOf(pointer, s.area);
  if (shown.source.width > 0) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, m + shown.firstColumn * cell, m + shown.firstRow * cell, shown.source.width * cell,
               shown.source.height * cell, s.copyDC->Get(), shown.source.x, shown.source.y, shown.source.width,
               shown.source.height, SRCCOPY);
  }
  for (std::int32_t i = 0; i <= cells; ++i) {
    Fill(dc, {m + i * cell, m, m + i * cell + 1, m + side}, s.grid.Get());
    Fill(dc, {m, m + i * cell, m + side, m + i * cell + 1}, s.grid.Get());
  }
  // The colour of the pointer's pixel, as the copy has it.
  const std::string position = MagnifierPositionText(pointer);
  std::string colour;
  bool light = false;
  const std::int64_t x = std::int64_t{pointer.left} - s.area.x, y = std::int64_t{pointer.top} - s.area.y;
  if (x >= 0 && y >= 0 && x < s.area.width && y < s.area.height) {
    const COLORREF pixel = GetPixel(s.copyDC->Get(), static_cast<int>(x), static_cast<int>(y));
    colour = MagnifierColourText(GetRValue(pixel), GetGValue(pixel), GetBValue(pixel));
    light = IsLightColour(GetRValue(pixel), GetGValue(pixel), GetBValue(pixel));
  }
  // On the grid lines around the pointer's cell, so that its own pixels stay as they are.
  constexpr std::int32_t middle = cells / 2;
  const RECT centre = ToRECT(
      ScreenRect{m + middle * cell, m + middle * cell, m + (middle + 1) * cell + 1, m + (middle + 1) * cell + 1});
  FrameRect(dc, &centre, light ? s.centreOnLight.Get() : s.centreOnDark.Get());
  const std::wstring lines[] = {Widen(position), Widen(colour)};
  Selection font(dc, s.font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, TextColour);
  for (int line = 0; line < 2; ++line) {
    TextOutW(dc, m, m + side + m + line * look.lineHeight, lines[line].c_str(), static_cast<int>(lines[line].size()));
  }
  s.text = colour.empty() ? lines[0] : lines[0] + L" " + lines[1];
}

void MagnifierWindow::Follow(Position pointer) {
  if (!HasCopy()) return;
  State& s = *state_;
  const POINT at{pointer.left, pointer.top};
  // Sized for the monitor it shows itself on, which is the pointer's.
  const int dpi = DpiAt(at);
  s.look = MagnifierLookAt(dpi);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &monitor);
  const ScreenRect box = MagnifierBox(pointer, FromRECT(monitor.rcMonitor), s.look.BoxSize());

  DrawOffScreen(pointer, dpi);
  SetWindowPos(Handle(), HWND_TOPMOST, box.left, box.top, box.Width(), box.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // Straight onto the window now, rather than at the next WM_PAINT: the magnifier keeps up with
  // the pointer.
  {
    WindowDC dc(Handle());
    BitBlt(dc.Get(), 0, 0, box.Width(), box.Height(), s.backDC->Get(), 0, 0, SRCCOPY);
  }
  ValidateRect(Handle(), nullptr);
}

LRESULT MagnifierWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  State& s = *state_;
  switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintDC dc(Handle());
      if (s.backDC) {
        const RECT& area = dc.Area();
        BitBlt(dc.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top, s.backDC->Get(),
               area.left, area.top, SRCCOPY);
      }
      return 0;
    }
    // The text below the cells, for whoever reads the window (a screen reader, a test).
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(s.text.size());
    case WM_GETTEXT: {
      if (wParam == 0) return 0;
      const std::size_t count = std::min<std::size_t>(s.text.size(), wParam - 1);
      auto* buffer = reinterpret_cast<wchar_t*>(lParam);
      s.text.copy(buffer, count);
      buffer[count] = L'\0';
      return static_cast<LRESULT>(count);
    }
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace kmrn
