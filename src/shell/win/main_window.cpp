#include "shell/win/main_window.h"

#include <shellapi.h>

#include "framework/file_system.h"
#include "framework/win/error_box.h"
#include "framework/win/text_win.h"
#include "settings/win/ini_file_win.h"
#include "shell/forwarded_file.h"
#include "shell/main_window_layout.h"
#include "capture/capture_geometry.h"
#include "viewer/image_files.h"
#include "viewer/win/dib_win.h"
#include "viewer/win/viewers.h"

namespace kmrn {
namespace {

constexpr DWORD MainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD MainWindowExStyle = 0;

RECT OuterRectForClient(int width, int height) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, MainWindowStyle, FALSE, MainWindowExStyle);
  return RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
}

ScreenRect PrimaryScreenRect() {
  RECT rect{};
  GetWindowRect(GetDesktopWindow(), &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

MainWindow::MainWindow(const ProgramContext& context, HWND owner) : context_(context) {
  RECT outer = OuterRectForClient(MainClientWidth, RangeModeHeight);
  CreateWindowOfClass({MainWindowClass, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))}, MainWindowExStyle,
                      MainWindowStyle, MainWindowCaption, owner, outer);
  OnCreated();
}

MainWindow::~MainWindow() { DestroyHandle(); }

void MainWindow::OnCreated() {
  HWND hwnd = Handle();
  SetWindowTextW(hwnd, MainWindowCaption);
  DragAcceptFiles(hwnd, TRUE);

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
  if (state_.WindowTopMost) ApplyTopMost();
  SetClientHeight(state_.range ? RangeModeHeight : WindowModeHeight);

  if (!PathExists(Settings.SaveFile)) {
    ShowMessageBox(hwnd,
                   Settings.SaveFile + " が見つかりませんでした。\r\n保存フォルダを " + context_.appDir + " に設定します。",
                   "Title", MB_OK);
    Settings.SaveFile = context_.appDir;
  }
}

void MainWindow::ShowAtStart() {
  if (showAtStart_) ShowWindow(Handle(), SW_SHOW);
}

void MainWindow::LoadSettings() {
  SettingsFile file = LoadSettingsFile(context_.appDir);
  Settings = file.settings;
  state_ = file.window;

  Position position{state_.Left, state_.Top};
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
  SettingsFile file{state_, Settings};
  file.window.Left = outer.left;
  file.window.Top = outer.top;
  SaveSettingsFile(file);
}

void MainWindow::SetClientHeight(int height) {
  RECT outer = OuterRectForClient(MainClientWidth, height);
  SetWindowPos(Handle(), nullptr, 0, 0, outer.right, outer.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ApplyTopMost() {
  SetWindowPos(Handle(), state_.WindowTopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

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

bool MainWindow::OnCloseRequest() {
  if (Settings.AlwaysNoCloseX) {
    ShowWindow(Handle(), SW_HIDE);
    return false;
  }
  SaveSettings();
  return true;
}

void MainWindow::OnDestroy() {
  DeleteFileW(L"Temp.bmp");
}

void MainWindow::OpenImageFile(const std::string& path) {
  std::optional<Dib> picture = LoadImageFile(path, context_.lowColorDisplay);
  if (!picture) return;  // not a picture by its name
  Bitmap bitmap = BitmapFromDib(*picture);
  HWND viewer = CreateViewer(bitmap.Get());
  SetWindowPos(viewer, state_.WindowTopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_WINDOWPOSCHANGED: {
      const auto& pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
      if (pos.flags & SWP_SHOWWINDOW) OnShown();
      if (pos.flags & SWP_HIDEWINDOW) OnHidden();
      break;
    }
    case WM_CLOSE:
      if (OnCloseRequest()) PostQuitMessage(0);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_COPYDATA:
      if (OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam))) return TRUE;
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace kmrn
