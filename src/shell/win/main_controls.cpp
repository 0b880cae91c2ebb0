#include "shell/win/main_controls.h"

#include <commctrl.h>

#include "framework/win/dpi.h"
#include "framework/win/geometry_win.h"
#include "framework/win/text_win.h"
#include "framework/win/ui_font.h"
#include "framework/win/win32_error.h"

namespace kmrn {
namespace {

// A rectangle of the layout in the window's client area at 96 DPI; a control inside a panel is
// placed relative to the panel.
RECT DesignRect(const LayoutRect& rect, const LayoutRect* panel = nullptr) {
  const int left = rect.left + (panel ? panel->left : 0);
  const int top = rect.top + (panel ? panel->top : 0);
  return ToRECT(PixelRect{left, top, rect.width, rect.height});
}

RECT PlacedRect(const ControlLayout& control) { return DesignRect(control.rect, control.panel); }

DWORD StyleOf(const ControlLayout& control) {
  DWORD style = WS_CHILD | WS_VISIBLE | (control.tabStop ? WS_TABSTOP : 0) | (control.groupStart ? WS_GROUP : 0);
  switch (control.kind) {
    case ControlKind::PushButton: return style | BS_PUSHBUTTON;
    case ControlKind::CheckBox: return style | BS_AUTOCHECKBOX;
    // BS_NOTIFY: the window button also answers a double click (it refreshes the list).
    case ControlKind::RadioButton: return style | BS_RADIOBUTTON | BS_NOTIFY;
    case ControlKind::ListBox: return style | WS_VSCROLL | WS_HSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  }
  return style;
}

}  // namespace

MainControls::MainControls(HWND window, int dpi) : window_(window), dpi_(dpi), font_(CreateUiFont(dpi)) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&init);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr));

  if (tooltip_) SendMessageW(tooltip_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  for (const ControlLayout& control : MainControlLayouts) {
    RECT rect = ScaleForDpi(PlacedRect(control), dpi);
    const wchar_t* className = control.kind == ControlKind::ListBox ? L"LISTBOX" : L"BUTTON";
    HWND child = CreateWindowExW(0, className, Widen(control.caption).c_str(), StyleOf(control), rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, window,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(control.id)), instance, nullptr);
    if (!child) ThrowLastSystemError("CreateWindowExW");
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    if (control.kind == ControlKind::ListBox) {
      SendMessageW(child, LB_SETITEMHEIGHT, 0, ScaleForDpi(WindowListItemHeight, dpi));
    }
    if (control.hint && tooltip_) {
      std::wstring hint = Widen(control.hint);
      TOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = window;
      tool.uId = reinterpret_cast<UINT_PTR>(child);
      tool.lpszText = hint.data();
      SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
}

void MainControls::Relayout(int dpi) {
  dpi_ = dpi;
  font_ = CreateUiFont(dpi);
  for (const ControlLayout& control : MainControlLayouts) {
    HWND child = Get(control.id);
    RECT rect = ScaleForDpi(PlacedRect(control), dpi);
    MoveWindow(child, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    if (control.kind == ControlKind::ListBox) {
      SendMessageW(child, LB_SETITEMHEIGHT, 0, ScaleForDpi(WindowListItemHeight, dpi));
    }
  }
  if (tooltip_) SendMessageW(tooltip_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  InvalidateRect(window_, nullptr, TRUE);
}

bool MainControls::IsChecked(MainControl id) const { return SendMessageW(Get(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void MainControls::SetChecked(MainControl id, bool checked) {
  SendMessageW(Get(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainControls::PaintPanels(HDC dc) const {
  for (const LayoutRect* panel : {&Panel1, &Panel2}) {
    RECT rect = ScaleForDpi(DesignRect(*panel), dpi_);
    DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
  }
}

}  // namespace kmrn
