#include "shell/win/main_window.h"

#include <windowsx.h>

#include "capture/capture_geometry.h"
#include "capture/win/window_list_win.h"
#include "framework/file_system.h"
#include "framework/win/dpi.h"
#include "framework/win/error_box.h"
#include "framework/win/text_win.h"
#include "framework/win/topmost.h"
#include "settings/win/ini_file_win.h"
#include "shell/forwarded_file.h"
#include "shell/main_window_docking.h"
#include "shell/main_window_layout.h"
#include "viewer/image_files.h"
#include "viewer/win/dib_win.h"
#include "viewer/win/viewers.h"

namespace kmrn {
namespace {

constexpr DWORD MainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD MainWindowExStyle = 0;

UINT Id(MainCommand command) { return static_cast<UINT>(command); }

ScreenRect PrimaryScreenRect() {
  RECT rect{};
  GetWindowRect(GetDesktopWindow(), &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT PrimaryWorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

std::string ClassNameOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return Narrow(name);
}

}  // namespace

MainWindow::MainWindow(const ProgramContext& context, HWND owner) : context_(context) {
  // Made at its range-mode size for the screen's DPI; OnCreated corrects it for the monitor's.
  const int screenDpi = DpiOf(nullptr);
  SIZE outer = OuterSizeForClient({ScaleForDpi(MainClientWidth, screenDpi), ScaleForDpi(RangeModeHeight, screenDpi)},
                                  MainWindowStyle, MainWindowExStyle, screenDpi);
  CreateWindowOfClass({MainWindowClass, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))}, MainWindowExStyle,
                      MainWindowStyle, MainWindowCaption, owner, RECT{0, 0, outer.cx, outer.cy});
  OnCreated();
}

MainWindow::~MainWindow() {
  capture_.reset();
  DestroyHandle();
}

void MainWindow::OnCreated() {
  HWND hwnd = Handle();
  dpi_ = DpiOf(hwnd);
  SetWindowTextW(hwnd, MainWindowCaption);
  DragAcceptFiles(hwnd, TRUE);
  controls_ = std::make_unique<MainControls>(hwnd, dpi_);
  SetClientHeight(RangeModeHeight);

  taskMenu_.AddItem(Id(MainCommand::POP_WindowTopMost), "常に手前に表示(&A)");
  taskMenu_.AddItem(Id(MainCommand::POP_SameRect), "前回と同じ場所をキャプチャ(&R)");
  taskMenu_.AddSeparator();
  taskMenu_.AddItem(Id(MainCommand::POP_Setting), "設定(&S)");
  taskMenu_.AddSeparator();
  taskMenu_.AddItem(Id(MainCommand::POP_Exit), "終了(&E)");
  taskMenu_.SetEnabled(Id(MainCommand::POP_SameRect), false);
  listMenu_.AddItem(Id(MainCommand::POP_ListBoxRefresh), "更新(&R)");

  std::wstring iconPath = Widen(context_.appDir + "\\Kamerin.ico");
  if (GetFileAttributesW(iconPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
    fileIcon_.Reset(static_cast<HICON>(LoadImageW(nullptr, iconPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
    if (fileIcon_) {
      SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(fileIcon_.Get()));
      SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(fileIcon_.Get()));
    }
  }

  InitViewers(hwnd);
  LoadSettings();

  showAtStart_ = !context_.arguments.empty() || Settings.MainWindowVisible;
  ApplyTopMost();

  if (controls_->IsChecked(MainControl::RadioButton_Range)) {
    SetClientHeight(RangeModeHeight);
  } else {
    controls_->SetChecked(MainControl::RadioButton_Window, true);
    OnWindowModeClick();
  }

  if (!PathExists(Settings.SaveFile)) {
    ShowMessageBox(
        hwnd, Settings.SaveFile + " が見つかりませんでした。\r\n保存フォルダを " + context_.appDir + " に設定します。",
        "Title", MB_OK);
    Settings.SaveFile = context_.appDir;
  }

  capture_ = std::make_unique<CaptureEngine>(static_cast<CaptureHost&>(*this));
}

void MainWindow::ShowAtStart() {
  if (showAtStart_) ShowWindow(Handle(), SW_SHOW);
}

void MainWindow::LoadSettings() {
  SettingsFile file = LoadSettingsFile(context_.appDir);
  Settings = file.settings;
  const MainWindowState& state = file.window;
  controls_->SetChecked(MainControl::CheckBox_BMP, state.bmp);
  controls_->SetChecked(MainControl::CheckBox_JPG, state.jpg);
  controls_->SetChecked(MainControl::CheckBox_Win, state.win);
  controls_->SetChecked(MainControl::RadioButton_Range, state.range);
  taskMenu_.SetChecked(Id(MainCommand::POP_WindowTopMost), state.WindowTopMost);

  Position position{state.Left, state.Top};
  if (!Settings.mDisplay_Enable) {
    RECT outer{};
    GetWindowRect(Handle(), &outer);
    position = PullBackOntoScreen(position, outer.right - outer.left, outer.bottom - outer.top, PrimaryScreenRect());
  }
  SetWindowPos(Handle(), nullptr, position.left, position.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  saved_ = position;
}

void MainWindow::SaveSettings() {
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  SettingsFile file;
  file.settings = Settings;
  file.window.Left = outer.left;
  file.window.Top = outer.top;
  file.window.bmp = controls_->IsChecked(MainControl::CheckBox_BMP);
  file.window.jpg = controls_->IsChecked(MainControl::CheckBox_JPG);
  file.window.win = controls_->IsChecked(MainControl::CheckBox_Win);
  file.window.range = controls_->IsChecked(MainControl::RadioButton_Range);
  file.window.WindowTopMost = TopMost();
  SaveSettingsFile(file);
}

int MainWindow::OuterHeightFor(int designClientHeight) const {
  return OuterSizeForClient({ScaleForDpi(MainClientWidth, dpi_), ScaleForDpi(designClientHeight, dpi_)},
                            MainWindowStyle, MainWindowExStyle, dpi_)
      .cy;
}

void MainWindow::SetClientHeight(int designHeight) {
  SIZE outer = OuterSizeForClient({ScaleForDpi(MainClientWidth, dpi_), ScaleForDpi(designHeight, dpi_)},
                                  MainWindowStyle, MainWindowExStyle, dpi_);
  SetWindowPos(Handle(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ApplyTopMost() { SetTopMostBand(Handle(), TopMost()); }

void MainWindow::OnWindowModeClick() {
  const MainWindowHeights heights{OuterHeightFor(RangeModeHeight), OuterHeightFor(WindowModeHeight)};
  SetClientHeight(WindowModeHeight);
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  int top = TopForWindowMode(outer.top, heights, PrimaryWorkArea().bottom);
  if (top != outer.top) {
    SetWindowPos(Handle(), nullptr, outer.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The window comes back where the switch put it, not below the work area.
    saved_ = {outer.left, top};
  }
  controls_->SetChecked(MainControl::RadioButton_Range, false);
  RefillWindowList();
}

void MainWindow::OnRangeModeClick() {
  const MainWindowHeights heights{OuterHeightFor(RangeModeHeight), OuterHeightFor(WindowModeHeight)};
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  int top = TopForRangeMode(outer.top, outer.bottom - outer.top, heights, PrimaryWorkArea().bottom);
  SetClientHeight(RangeModeHeight);
  if (top != outer.top) {
    SetWindowPos(Handle(), nullptr, outer.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    saved_ = {outer.left, top};
  }
  controls_->SetChecked(MainControl::RadioButton_Window, false);
}

void MainWindow::RefillWindowList() {
  HWND list = controls_->WindowList();
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  windowListHandles_ = RefreshWindowList(list, Handle());
}

std::optional<HWND> MainWindow::SelectedListWindow() const {
  LRESULT index = SendMessageW(controls_->WindowList(), LB_GETCURSEL, 0, 0);
  if (index == LB_ERR || static_cast<size_t>(index) >= windowListHandles_.size()) return std::nullopt;
  return windowListHandles_[static_cast<size_t>(index)];
}

void MainWindow::OnWindowListDoubleClick() {
  std::optional<HWND> window = SelectedListWindow();
  if (!window) return;
  std::string className = ClassNameOf(*window);
  if (className == "Progman" || className == "Shell_TrayWnd") return;
  if (className != "IMWindowClass") OpenIcon(*window);
  SetForegroundWindow(*window);
}

void MainWindow::RememberMainPosition() {
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  saved_ = {outer.left, outer.top};
}

bool MainWindow::SameRectChecked() const { return taskMenu_.IsChecked(Id(MainCommand::POP_SameRect)); }

void MainWindow::EnableSameRect() { taskMenu_.SetEnabled(Id(MainCommand::POP_SameRect), true); }

void MainWindow::OnShown() {
  shownOnce_ = true;
  SetWindowPos(Handle(), nullptr, saved_.left, saved_.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Settings.MainWindowVisible = true;
  if (!context_.arguments.empty() && openArgumentPending_) {
    openArgumentPending_ = false;
    OpenImageFile(Narrow(context_.arguments.front()));
  }
}

void MainWindow::OnHidden() { Settings.MainWindowVisible = false; }

bool MainWindow::CloseViewersForExit() {
  if (OpenViewerCount() > 0) {
    if (ShowMessageBox(Handle(), ExitQuestion, "Kamerin", MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
    SetAppClosing();
    CloseAllViewers();
  }
  return true;
}

bool MainWindow::OnCloseRequest() {
  if (Settings.AlwaysNoCloseX) {
    ShowWindow(Handle(), SW_HIDE);
    return false;
  }
  if (!CloseViewersForExit()) return false;
  SaveSettings();
  return true;
}

void MainWindow::OnExitCommand() {
  if (!CloseViewersForExit()) return;
  SaveSettings();
  PostQuitMessage(0);
}

void MainWindow::OnDestroy() { DeleteFileW(L"Temp.bmp"); }

void MainWindow::OpenImageFile(const std::string& path) {
  std::optional<Dib> picture = LoadImageFile(path, context_.lowColorDisplay);
  if (!picture) return;  // not a picture by its name
  Bitmap bitmap = BitmapFromDib(*picture);
  HWND viewer = CreateViewer(bitmap.Get());
  SetTopMostBand(viewer, TopMost());
  RECT outer{};
  GetWindowRect(viewer, &outer);
  ShowViewerAt(viewer, CentredInWorkArea({outer.right - outer.left, outer.bottom - outer.top}, GetWorkArea()), true);
}

void MainWindow::OnDropFiles(HDROP drop) {
  UniqueDrop finishWhenDone(drop);
  UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  if (length == 0) return;
  std::wstring name(length + 1, L'\0');
  DragQueryFileW(drop, 0, name.data(), length + 1);
  name.resize(length);
  OpenImageFile(Narrow(name));
}

bool MainWindow::OnCopyData(const COPYDATASTRUCT& data) {
  if (data.dwData != CopyDataOpenFile) return false;
  OpenImageFile(AnsiToUtf8(ReadForwardedFilePayload(data.lpData, data.cbData)));
  return true;
}

void MainWindow::OnCommand(UINT id, UINT code) {
  switch (static_cast<MainControl>(id)) {
    case MainControl::Btn_Capture:
      if (code == BN_CLICKED) capture_->OnCaptureButton();
      return;
    case MainControl::RadioButton_Range:
      if (code == BN_CLICKED && !controls_->IsChecked(MainControl::RadioButton_Range)) {
        controls_->SetChecked(MainControl::RadioButton_Range, true);
        OnRangeModeClick();
      }
      return;
    case MainControl::RadioButton_Window:
      if (code == BN_CLICKED && !controls_->IsChecked(MainControl::RadioButton_Window)) {
        controls_->SetChecked(MainControl::RadioButton_Window, true);
        OnWindowModeClick();
      } else if (code == BN_DOUBLECLICKED) {
        RefillWindowList();
      }
      return;
    case MainControl::ListBox_TopWindows:
      if (code == LBN_DBLCLK) OnWindowListDoubleClick();
      return;
    default: break;
  }
  if (code == 0) OnMenuCommand(static_cast<MainCommand>(id));
}

void MainWindow::OnMenuCommand(MainCommand command) {
  switch (command) {
    case MainCommand::POP_WindowTopMost:
      taskMenu_.SetChecked(Id(command), !TopMost());
      ApplyTopMost();
      SetViewersTopMost(TopMost());
      break;
    case MainCommand::POP_SameRect:
      if (taskMenu_.IsEnabled(Id(command))) taskMenu_.SetChecked(Id(command), !SameRectChecked());
      break;
    case MainCommand::POP_Setting: break;  // the settings dialog is not part of the program yet
    case MainCommand::POP_Exit: OnExitCommand(); break;
    case MainCommand::POP_ListBoxRefresh: RefillWindowList(); break;
  }
}

void MainWindow::OnContextMenu(HWND source, POINT screenPoint) {
  if (screenPoint.x == -1 && screenPoint.y == -1) GetCursorPos(&screenPoint);
  const PopupMenu& menu = source == controls_->WindowList() ? listMenu_ : taskMenu_;
  menu.Show(Handle(), screenPoint);
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  controls_->Relayout(dpi);
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetClientHeight(controls_->IsChecked(MainControl::RadioButton_Range) ? RangeModeHeight : WindowModeHeight);
}

void MainWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  controls_->PaintPanels(dc);
  EndPaint(Handle(), &paint);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!controls_) return DefaultHandling(message, wParam, lParam);  // still being created
  switch (message) {
    case WM_WINDOWPOSCHANGED: {
      const auto& pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
      if (pos.flags & SWP_SHOWWINDOW) OnShown();
      if (pos.flags & SWP_HIDEWINDOW) OnHidden();
      break;
    }
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_CLOSE:
      if (OnCloseRequest()) PostQuitMessage(0);
      return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_COPYDATA:
      if (OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam))) return TRUE;
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace kmrn
