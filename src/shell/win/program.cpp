#include "shell/win/program.h"

#include "capture/capture_geometry.h"
#include "framework/file_system.h"
#include "framework/win/error_box.h"
#include "framework/win/message_loop.h"
#include "framework/win/text_win.h"
#include "framework/win/topmost.h"
#include "framework/win/window_query.h"
#include "settings/settings.h"
#include "shell/main_window_layout.h"
#include "viewer/image_files.h"
#include "viewer/win/dib_win.h"
#include "viewer/win/viewers.h"

namespace kmrn {

Program::Program(ProgramContext context) : context_(std::move(context)), settingsFile_(IniFile::ForThisProgram()) {
  owner_ = std::make_unique<AppOwnerWindow>();
  main_ = std::make_unique<MainWindow>(owner_->Handle(), static_cast<MainWindowEvents&>(*this));

  // An icon file beside the program replaces the built-in icon.
  const std::wstring iconPath = Widen(context_.appDir + "\\Kamerin.ico");
  if (GetFileAttributesW(iconPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
    fileIcon_.Reset(static_cast<HICON>(LoadImageW(nullptr, iconPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
    if (fileIcon_) main_->SetIcon(fileIcon_.Get());
  }

  InitViewers(main_->Handle());
  LoadSettings();
  // A file on the command line is opened at the first showing, so the window shows for it.
  showAtStart_ = !context_.arguments.empty() || Settings.MainWindowVisible;
  CheckSaveFolder();
  capture_ = std::make_unique<CaptureEngine>(static_cast<CaptureHost&>(*this));
}

Program::~Program() {
  // The overlay first: it belongs to the main window.
  capture_.reset();
}

int Program::Run() {
  if (showAtStart_) main_->Show();
  return RunMessageLoop();
}

void Program::LoadSettings() {
  const SettingsFile file = settingsFile_.Load(context_.appDir);
  Settings = file.settings;
  // With one display, a window left on a monitor that has gone comes back onto the screen.
  main_->ApplyState(file.window, !Settings.mDisplay_Enable);
}

void Program::SaveSettings() { settingsFile_.Save({main_->State(), Settings}); }

void Program::CheckSaveFolder() {
  if (PathExists(Settings.SaveFile)) return;
  ShowMessageBox(
      main_->Handle(),
      Settings.SaveFile + " が見つかりませんでした。\r\n保存フォルダを " + context_.appDir + " に設定します。", "Title",
      MB_OK);
  Settings.SaveFile = context_.appDir;
}

void Program::OnCaptureCommand() { capture_->OnCaptureButton(main_->Choices()); }

void Program::OnTopMostCommand(bool on) {
  main_->SetTopMost(on);
  SetViewersTopMost(on);
}

bool Program::CloseViewersForExit() {
  if (OpenViewerCount() > 0) {
    if (ShowMessageBox(main_->Handle(), ExitQuestion, ProgramCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
      return false;
    }
    SetAppClosing();
    CloseAllViewers();
  }
  return true;
}

void Program::OnExitCommand() {
  if (!CloseViewersForExit()) return;
  SaveSettings();
  PostQuitMessage(0);
}

void Program::OnCloseRequest() {
  // A resident program only hides; the notification-area icon brings it back.
  if (Settings.AlwaysNoCloseX) {
    main_->Hide();
    return;
  }
  OnExitCommand();
}

void Program::OnShown() {
  Settings.MainWindowVisible = true;
  if (!context_.arguments.empty() && openArgumentPending_) {
    openArgumentPending_ = false;
    OpenImageFile(Narrow(context_.arguments.front()));
  }
}

void Program::OnHidden() { Settings.MainWindowVisible = false; }

void Program::OpenImageFile(const std::string& path) {
  std::optional<Dib> picture = LoadImageFile(path, context_.lowColorDisplay);
  if (!picture) return;  // not a picture by its name
  Bitmap bitmap = BitmapFromDib(*picture);
  HWND viewer = CreateViewer(bitmap.Get());
  SetTopMostBand(viewer, main_->TopMost());
  const ScreenRect outer = WindowRectOf(viewer);
  ShowViewerAt(viewer, CentredInWorkArea({outer.right - outer.left, outer.bottom - outer.top}, GetWorkArea()), true);
}

}  // namespace kmrn
