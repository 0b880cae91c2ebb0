#pragma once
// A window's controls made from its layout table (framework/control_layout.h): created in table
// order with the UI font and the hints, placed and sized for the window's DPI, placed again when
// the DPI changes. Panels are drawn by the window through PaintPanels; link labels turn red under
// the pointer; the edits' typed characters pass a filter the window gives.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "framework/control_layout.h"
#include "framework/win/gdi.h"
#include "framework/win/unique_resource.h"

namespace kmrn {

class Controls {
 public:
  // Decides whether a character typed into an edit is taken; false drops it.
  using CharFilter = std::function<bool(std::uint16_t id, wchar_t typed)>;

  Controls(HWND window, std::span<const ControlLayout> layout, int dpi, CharFilter filter = {});
  ~Controls();
  Controls(const Controls&) = delete;
  Controls& operator=(const Controls&) = delete;

  HWND Get(std::uint16_t id) const { return GetDlgItem(window_, id); }
  bool IsChecked(std::uint16_t id) const;
  void SetChecked(std::uint16_t id, bool checked);
  std::string Text(std::uint16_t id) const;
  void SetText(std::uint16_t id, const std::string& text);
  // A hot key control's keys: the code in the low byte, HOTKEYF_* in the high byte.
  std::uint16_t HotKeyValue(std::uint16_t id) const;
  void SetHotKeyValue(std::uint16_t id, std::uint16_t value);
  void Enable(std::uint16_t id, bool enabled);
  // Replaces the hint of a control that the table gave one.
  void SetHint(std::uint16_t id, const std::string& hint);

  // Places and sizes every control again for another DPI (the window moved to another monitor).
  void Relayout(int dpi);
  // The raised bevels and white areas of the table, and the white of the tab page shown. A group
  // box asks its window for this background too, for what lies outside its frame.
  void PaintPanels(HDC dc) const;
  // Shows the controls on this tab page and hides those on the others.
  void ShowTabPage(std::uint16_t page);

  // For the window's WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: the colours of a link label (blue, red
  // under the pointer) and the white background of controls on a white panel or a page; 0 for a
  // control the window colours as usual.
  HBRUSH LabelColours(HWND label, HDC dc) const;
  // For the window's WM_SETCURSOR: the hand over a link label; false for any other control.
  bool SetLinkCursor(HWND over) const;

  int Dpi() const { return dpi_; }
  // The rectangle of a table entry in the window's client area, scaled to the DPI.
  RECT ScaledRect(std::uint16_t id) const;

 private:
  static LRESULT CALLBACK EditProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
  static LRESULT CALLBACK LinkProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
  void Place(const ControlLayout& control, HWND child) const;
  HFONT FontFor(const ControlLayout& control) const;
  void MakeFonts();

  HWND window_;
  std::span<const ControlLayout> layout_;
  int dpi_;
  CharFilter filter_;
  Font font_, boldFont_, linkFont_;
  Brush whiteBrush_;
  UniqueWindow tooltip_;
  HWND hoveredLink_ = nullptr;
  std::uint16_t shownPage_ = 0;
};

}  // namespace kmrn
