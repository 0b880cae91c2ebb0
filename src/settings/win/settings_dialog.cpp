#include "settings/win/settings_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "components/key_assign.h"
#include "framework/control_layout.h"
#include "framework/win/dpi.h"
#include "framework/win/error_box.h"
#include "framework/win/gdi.h"
#include "framework/win/message_loop.h"
#include "framework/win/text_win.h"
#include "framework/win/window_query.h"
#include "settings/settings_dialog_layout.h"

namespace kmrn {
namespace {

using enum SettingControl;

// A fixed dialog frame with a caption and a close box, above other windows.
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME;
constexpr DWORD DialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;

constexpr std::uint16_t TabPages[] = {Id(GeneralPage), Id(DetailsPage), Id(SpecialPage)};

// The items of a radio group, in table order.
std::vector<std::uint16_t> RadioItems(std::uint16_t group) {
  std::vector<std::uint16_t> items;
  for (const ControlLayout& control : SettingsDialogLayout) {
    if (control.parent == group && control.kind == ControlKind::AutoRadio) items.push_back(control.id);
  }
  return items;
}

}  // namespace

SettingsDialog::SettingsDialog(HWND owner, SettingsDialogEvents& events) : events_(events), owner_(owner) {
  CreateWindowOfClass({L"KMRN_SETTINGS"}, DialogExStyle, DialogStyle, L"設定", owner, RECT{0, 0, 0, 0});
  dpi_ = DpiOf(Handle());
  controls_ = std::make_unique<Controls>(Handle(), SettingsDialogLayout, dpi_, [this](std::uint16_t id, wchar_t typed) {
    if (id == Id(JpegQualityEdit) && typed == L'\r') {
      TakeTypedQuality();
      return false;
    }
    return NumericEditAccepts(id, typed);
  });
  HWND trackBar = controls_->Get(Id(JpegQualitySlider));
  SendMessageW(trackBar, TBM_SETRANGE, TRUE, MAKELPARAM(1, 100));
  SendMessageW(trackBar, TBM_SETTICFREQ, 10, 0);
  SetWindowPos(trackBar, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  SizeToClient();
  UseDialogKeys();

  browse_.RootSpecialDir = BrowseSpecialDir::sfDesktop;
  browse_.InitSpecialDir = BrowseSpecialDir::sfNone;
  browse_.Options = static_cast<std::uint32_t>(BrowseOption::bifReturnOnlyFSDirs);
}

SettingsDialog::~SettingsDialog() {
  controls_.reset();
  DestroyHandle();
}

void SettingsDialog::SizeToClient() {
  const PixelSize outer =
      OuterSizeForClient({ScaleForDpi(SettingsClientWidth, dpi_), ScaleForDpi(SettingsClientHeight, dpi_)}, DialogStyle,
                         DialogExStyle, dpi_);
  SetWindowPos(Handle(), nullptr, 0, 0, outer.width, outer.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsDialog::ShowModal(const Settings& settings) {
  shown_ = settings;
  TabCtrl_SetCurSel(controls_->Get(Id(PageTabs)), 0);
  controls_->ShowTabPage(Id(GeneralPage));
  swatchOutlineOpen_ = false;
  FillSettingsForm(shown_, *this);

  // Centred on the screen the main window is on.
  const kmrn::Position place = CentredIn(WindowRectOf(Handle()).Size(), WorkAreaOf(owner_), Centring::HalfTheRoom);
  SetWindowPos(Handle(), HWND_TOPMOST, place.left, place.top, 0, 0, SWP_NOSIZE);

  open_ = true;
  EnableWindow(owner_, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  RunModalLoop([this] { return open_; });
  EnableWindow(owner_, TRUE);
  ShowWindow(Handle(), SW_HIDE);
}

void SettingsDialog::BringToFront() const {
  if (!open_) return;
  HWND front = GetLastActivePopup(Handle());
  SetForegroundWindow(front && IsWindowVisible(front) ? front : Handle());
}

void SettingsDialog::Cancel() {
  if (!open_) return;
  // The windows it has opened are owned by it (or by one of them); each closes as by its close
  // box, which for a dialog means キャンセル.
  for (HWND window : WindowsOwnedBy(Handle())) PostMessageW(window, WM_CLOSE, 0, 0);
  Close();
}

void SettingsDialog::Close() {
  open_ = false;
  // The modal loop looks again once a message arrives.
  PostMessageW(Handle(), WM_NULL, 0, 0);
}

void SettingsDialog::OnOk() {
  if (DualDisplayUnset(*this, shown_)) {
    ShowMessageBox(Handle(), DualDisplayWarning, ProgramCaption, MB_OK | MB_ICONWARNING);
    return;
  }
  Settings accepted = shown_;
  StoreSettingsForm(*this, accepted);
  events_.OnSettingsAccepted(accepted);
  Close();
}

void SettingsDialog::OnBrowseSaveFolder() {
  // From the stored folder, not from what the edit shows now.
  browse_.InitDir = shown_.SaveFile;
  browse_.Title = "画像を保存するフォルダを選択して下さい";
  if (browse_.Execute(Handle())) {
    SetText(Id(SaveFolderEdit), browse_.SelectedDir());
  } else if (browse_.UnusableChoice()) {
    ShowMessageBox(Handle(), UnusableSaveFolderMessage(*browse_.UnusableChoice()), ProgramCaption,
                   MB_OK | MB_ICONWARNING);
  }
}

void SettingsDialog::OnChooseEditor() {
  wchar_t file[32768] = {};
  lastEditor_.copy(file, std::min<std::size_t>(lastEditor_.size(), 32767));
  static const wchar_t filter[] = L"アプリケーション(*.exe)\0*.exe\0";
  OPENFILENAMEW open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = Handle();
  open.lpstrFilter = filter;
  open.lpstrFile = file;
  open.nMaxFile = 32768;
  open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetOpenFileNameW(&open)) return;
  lastEditor_ = file;
  const std::string path = Narrow(file);
  const std::string caption = OpenWithCaption(path);
  SetText(Id(EditorCommandEdit), path);
  SetText(Id(EditorMenuCaptionEdit), caption);
  SetText(Id(AutoCloseEditorCheck), caption);
}

void SettingsDialog::OnChooseColour() {
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = Handle();
  choose.rgbResult = lastChosenColour_;
  choose.lpCustColors = customColours_;
  choose.Flags = CC_RGBINIT;
  if (!ChooseColorW(&choose)) return;
  lastChosenColour_ = choose.rgbResult;
  swatchColour_ = choose.rgbResult;
  swatchOutlineOpen_ = true;
  InvalidateRect(controls_->Get(Id(FrameColourSwatch)), nullptr, TRUE);
}

void SettingsDialog::OnOpenLink(std::uint16_t id) {
  const std::string target = id == Id(HomePageLink) ? std::string(HomePageUrl) : std::string("mailto:") + MailAddress;
  ShellExecuteW(Handle(), L"open", Widen(target).c_str(), nullptr, nullptr, SW_SHOW);
}

void SettingsDialog::TakeTypedQuality() {
  if (const std::optional<int> quality = TypedJpegQuality(Text(Id(JpegQualityEdit)))) {
    SetPosition(Id(JpegQualitySlider), *quality);
  }
  SetText(Id(JpegQualityEdit), std::to_string(Position(Id(JpegQualitySlider))));
}

void SettingsDialog::OnTabChanged() {
  const int index = TabCtrl_GetCurSel(controls_->Get(Id(PageTabs)));
  if (index >= 0 && index < 3) controls_->ShowTabPage(TabPages[index]);
}

void SettingsDialog::DrawSwatch(const DRAWITEMSTRUCT& item) {
  Brush fill(CreateSolidBrush(static_cast<COLORREF>(swatchColour_) & 0x00FFFFFF));
  Selection brush(item.hDC, fill.Get());
  Selection pen(item.hDC, GetStockObject(BLACK_PEN));
  const RECT& r = item.rcItem;
  const int right = swatchOutlineOpen_ ? ScaleForDpi(41, dpi_) : r.right;
  Rectangle(item.hDC, r.left, r.top, right, r.bottom);
}

void SettingsDialog::OnCommand(std::uint16_t id, UINT code) {
  switch (static_cast<SettingControl>(id)) {
    case OkButton: OnOk(); return;
    case CancelButton: Close(); return;
    case BrowseSaveFolderButton: OnBrowseSaveFolder(); return;
    case ChooseEditorButton: OnChooseEditor(); return;
    case DualDisplayCheck: UpdateDualDisplayControls(*this); return;
    case WindowMagnetCheck: UpdateMagnetControls(*this); return;
    case FrameColourSwatch:
      if (code == STN_CLICKED) OnChooseColour();
      return;
    case HomePageLink:
    case MailLink:
      if (code == STN_CLICKED) OnOpenLink(id);
      return;
    case JpegQualityEdit:
      if (code == EN_KILLFOCUS) TakeTypedQuality();
      return;
    default: break;
  }
  // Enter in the dialog: not OK, but the quality edit takes what was typed.
  if (id == IDOK && GetFocus() == controls_->Get(Id(JpegQualityEdit))) TakeTypedQuality();
}

void SettingsDialog::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  controls_->Relayout(dpi);
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SizeToClient();
}

LRESULT SettingsDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!controls_) return DefaultHandling(message, wParam, lParam);  // still being created
  switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == controls_->Get(Id(JpegQualitySlider))) {
        SetText(Id(JpegQualityEdit), std::to_string(Position(Id(JpegQualitySlider))));
      }
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE) OnTabChanged();
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (HBRUSH brush = controls_->LabelColours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_SETCURSOR:
      if (controls_->SetLinkCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_DRAWITEM: DrawSwatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_PAINT: {
      PaintDC dc(Handle());
      controls_->PaintPanels(dc.Get());
      return 0;
    }
    // Also asked by a themed group box for the background around its frame: the page's white.
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      RECT client{};
      GetClientRect(Handle(), &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
      controls_->PaintPanels(dc);
      return 1;
    }
    case WM_NEXTDLGCTL: MoveDialogFocus(Handle(), wParam, lParam); return 0;
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_CLOSE: Close(); return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

bool SettingsDialog::Checked(std::uint16_t id) const { return controls_->IsChecked(id); }

void SettingsDialog::SetChecked(std::uint16_t id, bool checked) { controls_->SetChecked(id, checked); }

// The hot key field reads and takes the hotkey's text form, as the settings keep it.
std::string SettingsDialog::Text(std::uint16_t id) const {
  if (id == Id(ClipboardViewHotKeyField)) return HotKeyFieldText(controls_->HotKeyValue(id));
  return controls_->Text(id);
}

void SettingsDialog::SetText(std::uint16_t id, const std::string& text) {
  if (id == Id(ClipboardViewHotKeyField)) return controls_->SetHotKeyValue(id, HotKeyFieldValue(text));
  controls_->SetText(id, text);
}

int SettingsDialog::Position(std::uint16_t id) const {
  if (id == Id(JpegQualitySlider)) return static_cast<int>(SendMessageW(controls_->Get(id), TBM_GETPOS, 0, 0));
  const std::vector<std::uint16_t> items = RadioItems(id);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (controls_->IsChecked(items[i])) return static_cast<int>(i);
  }
  return -1;
}

void SettingsDialog::SetPosition(std::uint16_t id, int position) {
  if (id == Id(JpegQualitySlider)) {
    SendMessageW(controls_->Get(id), TBM_SETPOS, TRUE, position);
    return;
  }
  const std::vector<std::uint16_t> items = RadioItems(id);
  for (std::size_t i = 0; i < items.size(); ++i) controls_->SetChecked(items[i], static_cast<int>(i) == position);
}

void SettingsDialog::SetColour(std::uint16_t id, std::uint32_t colour) {
  swatchColour_ = colour;
  InvalidateRect(controls_->Get(id), nullptr, TRUE);
}

void SettingsDialog::Enable(std::uint16_t id, bool enabled) { controls_->Enable(id, enabled); }

}  // namespace kmrn
