#include "framework/win/controls.h"

#include <commctrl.h>

#include "framework/win/dpi.h"
#include "framework/win/geometry_win.h"
#include "framework/win/text_win.h"
#include "framework/win/ui_font.h"
#include "framework/win/win32_error.h"

namespace kmrn {
namespace {

constexpr COLORREF LinkBlue = RGB(0, 0, 255);
constexpr COLORREF LinkRed = RGB(255, 0, 0);

const wchar_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::ListBox: return L"LISTBOX";
    case ControlKind::Edit:
    case ControlKind::ReadOnlyEdit:
    case ControlKind::NumberEdit: return L"EDIT";
    case ControlKind::Label:
    case ControlKind::BoldLabel:
    case ControlKind::BlueLabel:
    case ControlKind::LinkLabel:
    case ControlKind::Swatch: return L"STATIC";
    case ControlKind::TrackBar: return TRACKBAR_CLASSW;
    case ControlKind::Tabs: return WC_TABCONTROLW;
    case ControlKind::HotKeyField: return HOTKEY_CLASSW;
    default: return L"BUTTON";
  }
}

DWORD StyleOf(const ControlLayout& control) {
  // Siblings overlap (group boxes, tabs): each paints only itself.
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (control.tabStop ? WS_TABSTOP : 0) |
                (control.groupStart ? WS_GROUP : 0);
  switch (control.kind) {
    case ControlKind::PushButton: return style | BS_PUSHBUTTON;
    case ControlKind::CheckBox: return style | BS_AUTOCHECKBOX;
    // BS_NOTIFY: a radio button also answers a double click (the window button refreshes the list).
    case ControlKind::RadioButton: return style | BS_RADIOBUTTON | BS_NOTIFY;
    case ControlKind::AutoRadio: return style | BS_AUTORADIOBUTTON;
    case ControlKind::ListBox: return style | WS_VSCROLL | WS_HSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    case ControlKind::Edit:
    case ControlKind::NumberEdit: return style | ES_AUTOHSCROLL;
    case ControlKind::ReadOnlyEdit: return style | ES_AUTOHSCROLL | ES_READONLY;
    case ControlKind::Label:
    case ControlKind::BoldLabel:
    case ControlKind::BlueLabel: return style | SS_LEFT | SS_NOPREFIX;
    case ControlKind::LinkLabel: return style | SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
    case ControlKind::Swatch: return style | SS_OWNERDRAW | SS_NOTIFY;
    case ControlKind::GroupBox: return (style & ~WS_TABSTOP) | BS_GROUPBOX;
    // Automatic ticks and a thumb of fixed length, horizontal with the ticks below.
    case ControlKind::TrackBar:
      return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TBS_AUTOTICKS | TBS_FIXEDLENGTH;
    case ControlKind::Tabs: return style;
    default: return style;
  }
}

}  // namespace

Controls::Controls(HWND window, std::span<const ControlLayout> layout, int dpi, CharFilter filter)
    : window_(window),
      layout_(layout),
      dpi_(dpi),
      filter_(std::move(filter)),
      whiteBrush_(CreateSolidBrush(RGB(255, 255, 255))) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  MakeFonts();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr));
  if (tooltip_) SendMessageW(tooltip_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);

  for (const ControlLayout& control : layout_) {
    if (!HasWindow(control.kind)) continue;
    const std::wstring caption = control.kind == ControlKind::Tabs ? L"" : Widen(control.caption);
    // A group box paints no inside: what lies beneath it (the page) shows through.
    const DWORD exStyle = IsEdit(control.kind) || control.kind == ControlKind::HotKeyField ? WS_EX_CLIENTEDGE
                          : control.kind == ControlKind::GroupBox                          ? WS_EX_TRANSPARENT
                                                                                           : 0;
    HWND child = CreateWindowExW(exStyle, ClassOf(control.kind), caption.c_str(), StyleOf(control), 0, 0, 0, 0, window,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(control.id)), instance, nullptr);
    if (!child) ThrowLastSystemError("CreateWindowExW");
    Place(control, child);
    if (control.kind == ControlKind::Tabs) {
      int index = 0;
      for (const ControlLayout* page : TabPagesOf(layout_, control.id)) {
        std::wstring title = Widen(page->caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = title.data();
        SendMessageW(child, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
      }
    }
    if (IsEdit(control.kind)) SetWindowSubclass(child, EditProcedure, control.id, reinterpret_cast<DWORD_PTR>(this));
    if (control.kind == ControlKind::LinkLabel) {
      SetWindowSubclass(child, LinkProcedure, control.id, reinterpret_cast<DWORD_PTR>(this));
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
  // Group boxes and the page control lie behind the controls they hold (the page control
  // lowest), so that painting them never covers those; the others keep the table's order, which
  // is also the order of the Tab key.
  for (ControlKind below : {ControlKind::GroupBox, ControlKind::Tabs}) {
    for (const ControlLayout& control : layout_) {
      if (control.kind == below) {
        SetWindowPos(Get(control.id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
    }
  }
}

Controls::~Controls() {
  // The controls outlive this object only while their window is being destroyed; they must not
  // call into it any more.
  for (const ControlLayout& control : layout_) {
    HWND child = Get(control.id);
    if (!child) continue;
    if (IsEdit(control.kind)) RemoveWindowSubclass(child, EditProcedure, control.id);
    if (control.kind == ControlKind::LinkLabel) RemoveWindowSubclass(child, LinkProcedure, control.id);
  }
}

void Controls::MakeFonts() {
  font_ = CreateUiFont(dpi_);
  boldFont_ = CreateUiFont(dpi_, UiFontStyle::Bold);
  linkFont_ = CreateUiFont(dpi_, UiFontStyle::Underlined);
}

HFONT Controls::FontFor(const ControlLayout& control) const {
  if (control.kind == ControlKind::BoldLabel) return boldFont_.Get();
  if (control.kind == ControlKind::LinkLabel) return linkFont_.Get();
  return font_.Get();
}

RECT Controls::ScaledRect(std::uint16_t id) const {
  const ControlLayout* control = FindControl(layout_, id);
  if (!control) return RECT{};
  return ToRECT(ScaledControlRect(layout_, *control, dpi_));
}

void Controls::Place(const ControlLayout& control, HWND child) const {
  RECT rect = ScaledRect(control.id);
  const HFONT font = FontFor(control);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (control.rect.width == 0) {
    // A label as wide and as high as its caption.
    const SIZE text = TextExtent(child, font, Widen(control.caption));
    rect.right = rect.left + text.cx;
    rect.bottom = rect.top + text.cy;
  }
  const PixelSize size = SizeOf(rect);
  MoveWindow(child, rect.left, rect.top, size.width, size.height, FALSE);
}

void Controls::Relayout(int dpi) {
  dpi_ = dpi;
  MakeFonts();
  for (const ControlLayout& control : layout_) {
    if (HWND child = Get(control.id)) Place(control, child);
  }
  if (tooltip_) SendMessageW(tooltip_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  InvalidateRect(window_, nullptr, TRUE);
}

bool Controls::IsChecked(std::uint16_t id) const { return SendMessageW(Get(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Controls::SetChecked(std::uint16_t id, bool checked) {
  SendMessageW(Get(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string Controls::Text(std::uint16_t id) const {
  HWND control = Get(id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void Controls::SetText(std::uint16_t id, const std::string& text) { SetWindowTextW(Get(id), Widen(text).c_str()); }

std::uint16_t Controls::HotKeyValue(std::uint16_t id) const {
  return static_cast<std::uint16_t>(SendMessageW(Get(id), HKM_GETHOTKEY, 0, 0));
}

void Controls::SetHotKeyValue(std::uint16_t id, std::uint16_t value) { SendMessageW(Get(id), HKM_SETHOTKEY, value, 0); }

void Controls::Enable(std::uint16_t id, bool enabled) { EnableWindow(Get(id), enabled ? TRUE : FALSE); }

void Controls::SetHint(std::uint16_t id, const std::string& hint) {
  if (!tooltip_) return;
  std::wstring text = Widen(hint);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(Get(id));
  tool.lpszText = text.data();
  SendMessageW(tooltip_.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Controls::PaintPanels(HDC dc) const {
  if (shownPage_ != 0) {
    const RECT page = ScaledRect(shownPage_);
    FillRect(dc, &page, whiteBrush_.Get());
  }
  for (const ControlLayout& control : layout_) {
    if (control.kind != ControlKind::Panel && control.kind != ControlKind::WhitePanel) continue;
    // Only while the tab page the panel lies on is shown.
    if (std::uint16_t page = TabPageOf(layout_, control); page != 0) {
      const ControlLayout* first = FirstControlOnPage(layout_, page);
      if (first && !IsWindowVisible(Get(first->id))) continue;
    }
    RECT rect = ScaledRect(control.id);
    if (control.kind == ControlKind::WhitePanel) {
      FillRect(dc, &rect, whiteBrush_.Get());
      DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    } else {
      DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    }
  }
}

void Controls::ShowTabPage(std::uint16_t page) {
  shownPage_ = page;
  for (const ControlLayout& control : layout_) {
    const std::uint16_t on = TabPageOf(layout_, control);
    if (on == 0) continue;
    if (HWND child = Get(control.id)) ShowWindow(child, on == page ? SW_SHOWNA : SW_HIDE);
  }
  InvalidateRect(window_, nullptr, TRUE);
}

HBRUSH Controls::LabelColours(HWND label, HDC dc) const {
  const int id = GetDlgCtrlID(label);
  const ControlLayout* control = FindControl(layout_, static_cast<std::uint16_t>(id));
  if (!control) return nullptr;
  const ControlColours colours = ColoursOf(layout_, *control);
  if (!colours.blueText && !colours.whiteBackground) return nullptr;
  if (colours.blueText) SetTextColor(dc, label == hoveredLink_ ? LinkRed : LinkBlue);
  SetBkMode(dc, TRANSPARENT);
  return colours.whiteBackground ? whiteBrush_.Get() : GetSysColorBrush(COLOR_BTNFACE);
}

bool Controls::SetLinkCursor(HWND over) const {
  const ControlLayout* control = FindControl(layout_, static_cast<std::uint16_t>(GetDlgCtrlID(over)));
  if (!control || control->kind != ControlKind::LinkLabel) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

LRESULT CALLBACK Controls::EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self) noexcept {
  auto* controls = reinterpret_cast<Controls*>(self);
  if (message == WM_CHAR && controls->filter_) {
    try {
      if (!controls->filter_(static_cast<std::uint16_t>(id), static_cast<wchar_t>(wParam))) return 0;
    } catch (...) {
      return 0;
    }
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

LRESULT CALLBACK Controls::LinkProcedure(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) noexcept {
  auto* controls = reinterpret_cast<Controls*>(self);
  if (message == WM_MOUSEMOVE && controls->hoveredLink_ != link) {
    controls->hoveredLink_ = link;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, link, 0};
    TrackMouseEvent(&track);
    InvalidateRect(link, nullptr, TRUE);
  } else if (message == WM_MOUSELEAVE && controls->hoveredLink_ == link) {
    controls->hoveredLink_ = nullptr;
    InvalidateRect(link, nullptr, TRUE);
  }
  return DefSubclassProc(link, message, wParam, lParam);
}

}  // namespace kmrn
