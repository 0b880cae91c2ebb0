#include "shell/win/program.h"

#include "capture/capture_geometry.h"
#include "components/wait_hot_key_errors.h"
#include "framework/file_system.h"
#include "framework/win/dpi.h"
#include "framework/win/error_box.h"
#include "framework/win/message_loop.h"
#include "framework/win/text_win.h"
#include "framework/win/topmost.h"
#include "framework/win/window_query.h"
#include "picture/image_files.h"
#include "picture/win/dib_win.h"
#include "settings/settings.h"
#include "shell/hot_key_failure.h"
#include "shell/main_window_layout.h"

namespace kmrn {
namespace {

// Windows can give PrintScreen to its own screen-snipping tool, for each user.
bool SnippingToolHoldsPrintScreen() {
  DWORD value = 0;
  DWORD size = sizeof value;
  return RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Keyboard", L"PrintScreenKeyForSnippingEnabled",
                      RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS &&
         value == 1;
}

}  // namespace

Program::Program(ProgramContext context) : context_(std::move(context)), settingsFile_(IniFile::ForThisProgram()) {
  owner_ = std::make_unique<AppOwnerWindow>();
  main_ = std::make_unique<MainWindow>(owner_->Handle(), static_cast<MainWindowEvents&>(*this), settings_);
  clipboard_ = std::make_unique<ClipboardPicture>(main_->Handle());
  viewers_ = std::make_unique<Viewers>(main_->Handle(), settings_, *clipboard_);

  // An icon file beside the program replaces the built-in icon, in the window's caption and in
  // the notification area (there as a small icon drawn for the screen's DPI).
  const std::wstring iconPath = Widen(context_.appDir + "\\Kamerin.ico");
  const bool iconFile = GetFileAttributesW(iconPath.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (iconFile) {
    fileIcon_.Reset(static_cast<HICON>(LoadImageW(nullptr, iconPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
    if (fileIcon_) main_->SetIcon(fileIcon_.Get());
  }
  const int traySize = SmallIconSize(DpiOf(nullptr));
  if (iconFile) {
    trayIconImage_.Reset(
        static_cast<HICON>(LoadImageW(nullptr, iconPath.c_str(), IMAGE_ICON, traySize, traySize, LR_LOADFROMFILE)));
  }
  if (!trayIconImage_) {
    trayIconImage_.Reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, traySize, traySize, 0)));
  }

  rangeHotKey_ = std::make_unique<WaitHotKey>();
  windowHotKey_ = std::make_unique<WaitHotKey>();
  // While the settings dialog is open the hotkeys do nothing: the program's windows are busy.
  rangeHotKey_->OnCatchHotKey = [this] { StartRangeFromOutside(); };
  windowHotKey_->OnCatchHotKey = [this] {
    if (!settingsDialog_->IsOpen()) ReportFailure([this] { capture_->OnWindowHotKey(main_->Choices(), settings_); });
  };
  clipboardHotKey_ = std::make_unique<WaitHotKey>();
  clipboardHotKey_->OnCatchHotKey = [this] {
    if (!settingsDialog_->IsOpen()) ReportFailure([this] { ShowClipboardPicture(); });
  };
  tray_ = std::make_unique<TaskTray>(main_->Handle());
  tray_->OnLeftButtonUp = [this](POINT) { OnTrayLeftButtonUp(); };
  tray_->OnMiddleButtonUp = [this](POINT) { OnTrayMiddleButtonUp(); };
  tray_->OnPopupMenu = [this](POINT at) { main_->ShowTaskMenu(at); };

  LoadSettings();
  // A file on the command line is opened at the first showing, so the window shows for it.
  showAtStart_ = !context_.arguments.empty() || settings_.MainWindowVisible;
  if (settings_.AlwaysNoCloseX) ShowTrayIcon(true);
  CheckSaveFolder();
  capture_ = std::make_unique<CaptureEngine>(static_cast<CaptureHost&>(*this), *viewers_, *clipboard_);
  settingsDialog_ = std::make_unique<SettingsDialog>(main_->Handle(), static_cast<SettingsDialogEvents&>(*this));
  // Last: a key that cannot be bound is reported, and the program runs without it.
  try {
    ApplyHotKeys();
  } catch (const std::exception& error) {
    ShowErrorBox(main_->Handle(), error);
  }
}

Program::~Program() {
  trayIcon_.reset();
  // The dialog and the overlay first: they belong to the main window. The viewers go next, and
  // with them the pictures this run handed to the editor (nothing else of that name or place).
  settingsDialog_.reset();
  capture_.reset();
  viewers_.reset();
}

int Program::Run() {
  if (showAtStart_) main_->Show();
  return RunMessageLoop();
}

void Program::LoadSettings() {
  const SettingsFile file = settingsFile_.Load(context_.appDir);
  settings_ = file.settings;
  main_->ShowFirstFileFormat(settings_.SavePng);
  // A window left on a monitor that has gone comes back onto the screen; the size is the one
  // the window has before its mode is applied, as it always was.
  MainWindowState window = file.window;
  const Position place = RestoredMainWindowPosition(
      settings_, {window.Left, window.Top}, WindowRectOf(main_->Handle()).Size(), DesktopRect(), DesktopMonitors());
  window.Left = place.left;
  window.Top = place.top;
  main_->ApplyState(window);
}

void Program::SaveSettings() { settingsFile_.Save({main_->State(), settings_}); }

void Program::CheckSaveFolder() {
  if (PathExists(settings_.SaveFile)) return;
  ShowMessageBox(
      main_->Handle(),
      settings_.SaveFile + " が見つかりませんでした。\r\n保存フォルダを " + context_.appDir + " に設定します。",
      "Title", MB_OK);
  settings_.SaveFile = context_.appDir;
}

void Program::ApplyHotKeys() {
  std::vector<WaitHotKey*> bound;
  if (settings_.UseHotKey) {
    rangeHotKey_->SetHotKey("SnapShot");
    windowHotKey_->SetHotKey("Ctrl+SnapShot");
    windowHotKey_->Assignment().SetCtrl(true);
    bound = {rangeHotKey_.get(), windowHotKey_.get()};
  } else {
    rangeHotKey_->UnregisterKey();
    windowHotKey_->UnregisterKey();
  }
  std::vector<std::string> failures;
  clipboardHotKey_->UnregisterKey();
  if (!settings_.ClipboardViewHotKey.empty()) {
    clipboardHotKey_->SetHotKey(settings_.ClipboardViewHotKey);
    // A text that names no key (edited by hand) binds nothing and is said so.
    if (clipboardHotKey_->Assignment().CanUse()) {
      bound.push_back(clipboardHotKey_.get());
    } else {
      failures.push_back(HotKeyInvalidError(settings_.ClipboardViewHotKey).what());
    }
  }
  // Each key on its own: one that is free works even when another is taken.
  bool printScreenFailed = false;
  for (WaitHotKey* hotKey : bound) {
    try {
      hotKey->RegisterKey();
    } catch (const WaitHotKeyError& error) {
      failures.push_back(error.what());
      printScreenFailed = printScreenFailed || hotKey == rangeHotKey_.get();
    }
  }
  if (!failures.empty()) {
    throw AppError(HotKeyFailureMessage(failures, printScreenFailed && SnippingToolHoldsPrintScreen()));
  }
}

void Program::ShowTrayIcon(bool show) {
  if (!show) {
    trayIcon_.reset();
  } else if (!trayIcon_) {
    trayIcon_.emplace(*tray_, trayIconImage_.Get(), ProgramCaption);
  }
}

void Program::OnTaskbarCreated() {
  // A new shell knows no icons: the program's comes back if it was there.
  if (trayIcon_) trayIcon_->AddAgain();
}

void Program::OnTrayLeftButtonUp() {
  if (!main_->IsVisible()) main_->Show();
}

void Program::OnTrayMiddleButtonUp() {
  if (settings_.TaskWheelToRange) StartRangeFromOutside();
}

void Program::StartRangeFromOutside() {
  // While the settings dialog is open the program's windows are busy.
  if (!settingsDialog_->IsOpen()) ReportFailure([this] { capture_->OnRangeHotKey(main_->Choices(), settings_); });
}

void Program::ReportFailure(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    ShowErrorBox(main_->Handle(), error);
  }
}

void Program::OnSettingsAccepted(const Settings& accepted) {
  const Settings previous = std::exchange(settings_, accepted);
  main_->ShowFirstFileFormat(settings_.SavePng);
  if (settings_.AlwaysNoCloseX != previous.AlwaysNoCloseX) {
    ShowTrayIcon(settings_.AlwaysNoCloseX);
    // Without the icon, the window is the way back to the program.
    if (!settings_.AlwaysNoCloseX) main_->Show();
  }
  // A key that cannot be bound is reported, and the other settings are saved all the same.
  try {
    ApplyHotKeys();
  } catch (const AppError& error) {
    ShowErrorBox(main_->Handle(), error);
  }
  if (settings_.ViewWinAlphaClose) viewers_->SetAlphaBlend(true);
  viewers_->SetClosedLimit(settings_.ClosedViewersKept);
  SaveSettings();
}

void Program::OnMagnifierToggled(bool on) {
  // Kept like a change made in the settings dialog: the next selection starts with it.
  settings_.Magnifier = on;
  SaveSettings();
}

void Program::OnCaptureCommand() { capture_->OnCaptureButton(main_->Choices(), settings_); }

void Program::OnTopMostCommand(bool on) {
  main_->SetTopMost(on);
  viewers_->SetTopMost(on);
}

bool Program::CloseViewersForExit() {
  if (viewers_->OpenCount() > 0) {
    if (ShowMessageBox(main_->Handle(), ExitQuestion, ProgramCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
      return false;
    }
    viewers_->CloseAllForExit();
  }
  return true;
}

void Program::OnSettingsCommand() {
  // One settings dialog at a time: asked again (from the notification-area icon's menu), the
  // open one comes to the front.
  if (settingsDialog_->IsOpen()) {
    settingsDialog_->BringToFront();
    return;
  }
  settingsDialog_->ShowModal(settings_);
  if (exitAfterSettings_) {
    exitAfterSettings_ = false;
    OnExitCommand();
  }
}

void Program::OnExitCommand() {
  // The end was asked for while the settings dialog is open: the dialog closes as by キャンセル
  // first, and the program ends once it has (outside its modal loop).
  if (settingsDialog_->IsOpen()) {
    exitAfterSettings_ = true;
    settingsDialog_->Cancel();
    return;
  }
  if (!CloseViewersForExit()) return;
  SaveSettings();
  PostQuitMessage(0);
}

void Program::OnCloseRequest() {
  // A resident program only hides; the notification-area icon brings it back.
  if (settings_.AlwaysNoCloseX) {
    main_->Hide();
    return;
  }
  OnExitCommand();
}

void Program::OnShown() {
  settings_.MainWindowVisible = true;
  if (!context_.arguments.empty() && openArgumentPending_) {
    openArgumentPending_ = false;
    OpenImageFile(Narrow(context_.arguments.front()));
  }
}

void Program::OnHidden() { settings_.MainWindowVisible = false; }

void Program::OpenImageFile(const std::string& path) {
  std::optional<Dib> picture = LoadImageFile(path, context_.lowColorDisplay);
  if (!picture) return;  // not a picture by its name
  HWND viewer = viewers_->Create(std::move(*picture));
  SetTopMostBand(viewer, main_->TopMost());
  const ScreenRect outer = WindowRectOf(viewer);
  viewers_->ShowAt(viewer, CentredInWorkArea(outer.Size(), viewers_->WorkArea()), true);
}

void Program::OnReopenViewerCommand() {
  ReportFailure([this] {
    if (!viewers_->ReopenLastClosed(main_->TopMost())) {
      ShowMessageBox(main_->Handle(), NoClosedViewerNotice, ProgramCaption, MB_OK | MB_ICONINFORMATION);
    }
  });
}

void Program::ShowClipboardPicture() {
  std::optional<Dib> picture = ReadClipboardPicture(main_->Handle(), context_.lowColorDisplay);
  if (!picture) {
    ShowMessageBox(main_->Handle(), NoClipboardPictureNotice, ProgramCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  HWND viewer = viewers_->Create(std::move(*picture));
  SetTopMostBand(viewer, main_->TopMost());
  POINT pointer{};
  GetCursorPos(&pointer);
  const Position at{pointer.x, pointer.y};
  viewers_->ShowAt(viewer, PinnedViewerPosition(WindowRectOf(viewer).Size(), at, WorkAreaAt(at)), true);
}

}  // namespace kmrn
