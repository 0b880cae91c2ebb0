#include "shell/win/main_window.h"

#include <windowsx.h>

#include "capture/win/window_list_win.h"
#include "framework/win/dpi.h"
#include "framework/win/gdi.h"
#include "framework/win/message_loop.h"
#include "framework/win/text_win.h"
#include "framework/win/topmost.h"
#include "framework/win/window_query.h"
#include "framework/window_magnet.h"
#include "shell/forwarded_file.h"
#include "shell/main_window_commands.h"
#include "shell/main_window_docking.h"
#include "shell/main_window_layout.h"
#include "shell/program_identity.h"

namespace kmrn {
namespace {

constexpr DWORD MainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD MainWindowExStyle = 0;

// The window's outer size for a client area of the design height, at this DPI.
PixelSize OuterSizeForClientHeight(int designClientHeight, int dpi) {
  return OuterSizeForClient({ScaleForDpi(MainClientWidth, dpi), ScaleForDpi(designClientHeight, dpi)}, MainWindowStyle,
                            MainWindowExStyle, dpi);
}

static_assert(ButtonClicked == BN_CLICKED && ListDoubleClicked == LBN_DBLCLK &&
              ButtonDoubleClicked == BN_DOUBLECLICKED);

}  // namespace

MainWindow::MainWindow(HWND owner, MainWindowEvents& events, const Settings& settings)
    : events_(events), settings_(settings), taskMenu_(TaskMenu), listMenu_(ListMenu) {
  // Made at its range-mode size for the screen's DPI; OnCreated corrects it for the monitor's.
  const PixelSize outer = OuterSizeForClientHeight(RangeModeHeight, DpiOf(nullptr));
  const std::wstring className = Widen(MainWindowClass), caption = Widen(MainWindowCaption);
  CreateWindowOfClass({className.c_str(), LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))}, MainWindowExStyle,
                      MainWindowStyle, caption.c_str(), owner, RECT{0, 0, outer.width, outer.height});
  OnCreated();
}

MainWindow::~MainWindow() { DestroyHandle(); }

bool MainWindow::Checked(MainControl control) const { return controls_->IsChecked(Id(control)); }

void MainWindow::SetCheck(MainControl control, bool checked) { controls_->SetChecked(Id(control), checked); }

HWND MainWindow::WindowList() const { return controls_->Get(Id(MainControl::WindowList)); }

void MainWindow::OnCreated() {
  HWND hwnd = Handle();
  dpi_ = DpiOf(hwnd);
  SetWindowTextW(hwnd, Widen(MainWindowCaption).c_str());
  DragAcceptFiles(hwnd, TRUE);
  controls_ = std::make_unique<Controls>(hwnd, MainControlLayouts, dpi_);
  SendMessageW(WindowList(), LB_SETITEMHEIGHT, 0, ScaleForDpi(WindowListItemHeight, dpi_));
  SetClientHeight(RangeModeHeight);
  ShowWindow(WindowList(), SW_HIDE);
  UseDialogKeys();

  taskMenu_.SetEnabled(Id(MainCommand::CaptureSamePlace), false);
}

void MainWindow::SetIcon(HICON icon) {
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

MainWindowState MainWindow::State() const {
  const ScreenRect outer = WindowRectOf(Handle());
  MainWindowState state;
  state.Left = outer.left;
  state.Top = outer.top;
  state.bmp = Checked(MainControl::SaveBmpCheck);
  state.jpg = Checked(MainControl::SaveJpegCheck);
  state.win = Checked(MainControl::ViewerCheck);
  state.range = Checked(MainControl::RangeModeRadio);
  state.WindowTopMost = TopMost();
  return state;
}

void MainWindow::ApplyState(const MainWindowState& state) {
  SetCheck(MainControl::SaveBmpCheck, state.bmp);
  SetCheck(MainControl::SaveJpegCheck, state.jpg);
  SetCheck(MainControl::ViewerCheck, state.win);
  SetCheck(MainControl::RangeModeRadio, state.range);

  const Position position{state.Left, state.Top};
  MoveTo(position);
  saved_ = position;

  SetTopMost(state.WindowTopMost);

  if (state.range) {
    SetClientHeight(RangeModeHeight);
  } else {
    SetCheck(MainControl::WindowModeRadio, true);
    OnWindowModeClick();
  }
}

void MainWindow::ShowFirstFileFormat(bool png) {
  const ControlLayout& box = *FindControl(MainControlLayouts, Id(MainControl::SaveBmpCheck));
  controls_->SetText(box.id, png ? PngBoxCaption : box.caption);
  controls_->SetHint(box.id, png ? PngBoxHint : box.hint);
}

CaptureChoices MainWindow::Choices() const {
  CaptureChoices choices;
  choices.saveBmp = Checked(MainControl::SaveBmpCheck);
  choices.saveJpg = Checked(MainControl::SaveJpegCheck);
  choices.viewer = Checked(MainControl::ViewerCheck);
  choices.topMost = TopMost();
  choices.windowMode = Checked(MainControl::WindowModeRadio);
  choices.sameRect = taskMenu_.IsChecked(Id(MainCommand::CaptureSamePlace));
  choices.listWindow = SelectedListWindow();
  return choices;
}

void MainWindow::RememberPosition() { saved_ = WindowRectOf(Handle()).TopLeft(); }

void MainWindow::EnableSameRect() { taskMenu_.SetEnabled(Id(MainCommand::CaptureSamePlace), true); }

void MainWindow::SetTopMost(bool on) {
  taskMenu_.SetChecked(Id(MainCommand::AlwaysOnTop), on);
  SetTopMostBand(Handle(), on);
}

bool MainWindow::TopMost() const { return taskMenu_.IsChecked(Id(MainCommand::AlwaysOnTop)); }

void MainWindow::MoveTo(Position position) {
  SetWindowPos(Handle(), nullptr, position.left, position.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int MainWindow::OuterHeightFor(int designClientHeight) const {
  return OuterSizeForClientHeight(designClientHeight, dpi_).height;
}

void MainWindow::SetClientHeight(int designHeight) {
  const PixelSize outer = OuterSizeForClientHeight(designHeight, dpi_);
  SetWindowPos(Handle(), nullptr, 0, 0, outer.width, outer.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::OnWindowModeClick() {
  const MainWindowHeights heights{OuterHeightFor(RangeModeHeight), OuterHeightFor(WindowModeHeight)};
  SetClientHeight(WindowModeHeight);
  const ScreenRect outer = WindowRectOf(Handle());
  const int top = TopForWindowMode(outer.top, heights, WorkAreaOf(Handle()).bottom);
  if (top != outer.top) {
    MoveTo({outer.left, top});
    // The window comes back where the switch put it, not below the work area.
    saved_ = {outer.left, top};
  }
  SetCheck(MainControl::RangeModeRadio, false);
  ShowWindow(WindowList(), SW_SHOWNA);
  RefillWindowList();
}

void MainWindow::OnRangeModeClick() {
  const MainWindowHeights heights{OuterHeightFor(RangeModeHeight), OuterHeightFor(WindowModeHeight)};
  const ScreenRect outer = WindowRectOf(Handle());
  const int top = TopForRangeMode(outer.top, outer.Height(), heights, WorkAreaOf(Handle()).bottom);
  SetClientHeight(RangeModeHeight);
  if (top != outer.top) {
    MoveTo({outer.left, top});
    saved_ = {outer.left, top};
  }
  SetCheck(MainControl::WindowModeRadio, false);
  // Cut off below the panels, the list keeps its items but takes no focus.
  ShowWindow(WindowList(), SW_HIDE);
}

void MainWindow::RefillWindowList() {
  HWND list = WindowList();
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  windowListHandles_ = RefreshWindowList(list, Handle(), settings_);
}

HWND MainWindow::SelectedListWindow() const {
  LRESULT index = SendMessageW(WindowList(), LB_GETCURSEL, 0, 0);
  if (index == LB_ERR || static_cast<size_t>(index) >= windowListHandles_.size()) return nullptr;
  return windowListHandles_[static_cast<size_t>(index)];
}

void MainWindow::OnWindowPosChanging(WINDOWPOS& pos) {
  // The magnet, with the settings as they are now, for the moves after the first showing; the
  // window going back to its kept place at a showing is never pulled.
  if (!settings_.AlwaysWinMagnet || !shownOnce_ || returning_) return;
  const ScreenRect now = WindowRectOf(Handle());
  const MagnetLines lines = MagnetLinesFor(settings_, WorkAreaOf(Handle()), DesktopMonitors(),
                                           ToScreenRect({pos.x, pos.y, now.Width(), now.Height()}));
  const Position snapped = SnapMainWindow({pos.x, pos.y}, now.Size(), lines);
  pos.x = snapped.left;
  pos.y = snapped.top;
}

void MainWindow::OnWindowPosChanged(const WINDOWPOS& pos) {
  if (pos.flags & SWP_SHOWWINDOW) {
    returning_ = true;
    MoveTo(saved_);
    returning_ = false;
    shownOnce_ = true;
    events_.OnShown();
  }
  if (pos.flags & SWP_HIDEWINDOW) events_.OnHidden();
}

void MainWindow::OnDropFiles(HDROP drop) {
  UniqueDrop finishWhenDone(drop);
  UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  if (length == 0) return;
  std::wstring name(length + 1, L'\0');
  DragQueryFileW(drop, 0, name.data(), length + 1);
  name.resize(length);
  events_.OnFileGiven(Narrow(name));
}

bool MainWindow::OnCopyData(const COPYDATASTRUCT& data) {
  switch (data.dwData) {
    case CopyDataOpenFile: events_.OnFileGiven(AnsiToUtf8(ReadForwardedFilePayload(data.lpData, data.cbData))); break;
    case CopyDataOpenFileUnicode: {
      const std::u16string path = ReadUnicodeForwardedFilePayload(data.lpData, data.cbData);
      events_.OnFileGiven(Narrow(std::wstring(path.begin(), path.end())));
      break;
    }
    default: return false;
  }
  return true;
}

void MainWindow::OnCommand(UINT id, UINT code) {
  switch (ActionForCommand(static_cast<std::uint16_t>(id), static_cast<std::uint16_t>(code),
                           Checked(MainControl::RangeModeRadio), Checked(MainControl::WindowModeRadio))) {
    case MainWindowAction::None: break;
    case MainWindowAction::Capture: events_.OnCaptureCommand(); break;
    case MainWindowAction::ToRangeMode:
      SetCheck(MainControl::RangeModeRadio, true);
      OnRangeModeClick();
      break;
    case MainWindowAction::ToWindowMode:
      SetCheck(MainControl::WindowModeRadio, true);
      OnWindowModeClick();
      break;
    case MainWindowAction::RefillWindowList: RefillWindowList(); break;
    case MainWindowAction::BringListedWindowForward:
      if (HWND window = SelectedListWindow()) BringListedWindowForward(window);
      break;
    case MainWindowAction::MenuCommand: OnMenuCommand(static_cast<MainCommand>(id)); break;
  }
}

void MainWindow::OnMenuCommand(MainCommand command) {
  switch (command) {
    case MainCommand::AlwaysOnTop: events_.OnTopMostCommand(!TopMost()); break;
    case MainCommand::CaptureSamePlace:
      if (taskMenu_.IsEnabled(Id(command))) taskMenu_.SetChecked(Id(command), !taskMenu_.IsChecked(Id(command)));
      break;
    case MainCommand::OpenSettings: events_.OnSettingsCommand(); break;
    case MainCommand::Exit: events_.OnExitCommand(); break;
    case MainCommand::ShowClipboardPicture: events_.OnShowClipboardCommand(); break;
    case MainCommand::ReopenClosedViewer: events_.OnReopenViewerCommand(); break;
    case MainCommand::RefreshWindowList: RefillWindowList(); break;
  }
}

void MainWindow::OnContextMenu(HWND source, POINT screenPoint) {
  if (screenPoint.x == -1 && screenPoint.y == -1) GetCursorPos(&screenPoint);
  const PopupMenu& menu = source == WindowList() ? listMenu_ : taskMenu_;
  menu.Show(Handle(), screenPoint);
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  controls_->Relayout(dpi);
  SendMessageW(WindowList(), LB_SETITEMHEIGHT, 0, ScaleForDpi(WindowListItemHeight, dpi));
  MoveTo({suggested.left, suggested.top});
  SetClientHeight(Checked(MainControl::RangeModeRadio) ? RangeModeHeight : WindowModeHeight);
}

void MainWindow::OnPaint() {
  PaintDC dc(Handle());
  controls_->PaintPanels(dc.Get());
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!controls_) return DefaultHandling(message, wParam, lParam);  // still being created
  // The shell broadcasts this to every top-level window when it starts again.
  static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  if (message == taskbarCreated) {
    events_.OnTaskbarCreated();
    return 0;
  }
  switch (message) {
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam)); break;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_NEXTDLGCTL: MoveDialogFocus(Handle(), wParam, lParam); return 0;
    case WM_CLOSE: events_.OnCloseRequest(); return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_RENDERFORMAT: events_.OnRenderClipboardFormat(static_cast<UINT>(wParam)); return 0;
    case WM_RENDERALLFORMATS: events_.OnRenderAllClipboardFormats(); return 0;
    case WM_DESTROYCLIPBOARD: events_.OnClipboardEmptied(); return 0;
    case WM_COPYDATA:
      if (OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam))) return TRUE;
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace kmrn
