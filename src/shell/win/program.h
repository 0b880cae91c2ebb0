#pragma once
// The program object: it owns the settings (their loading and saving), the main window, the
// viewers, the capture engine, the two PrintScreen hotkeys, the notification-area icon and the
// program's icons, and hands each part the settings it reads;
// it starts them in their order, answers what the main window and the components report, and
// decides how the program ends.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "capture/win/capture_engine.h"
#include "components/win/task_tray.h"
#include "components/win/wait_hot_key.h"
#include "framework/win/com.h"
#include "framework/win/unique_resource.h"
#include "picture/win/clipboard_picture.h"
#include "settings/win/ini_file_win.h"
#include "settings/win/settings_dialog.h"
#include "shell/win/app_owner_window.h"
#include "shell/win/main_window.h"
#include "shell/win/program_win.h"
#include "viewer/win/viewers.h"

namespace kmrn {

class Program final : private MainWindowEvents, private CaptureHost, private SettingsDialogEvents {
 public:
  // Creates the windows, loads the settings and prepares everything, the main window still hidden.
  explicit Program(ProgramContext context);
  ~Program() override;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Shows the main window unless the settings keep it hidden, and runs until the program ends.
  int Run();

 private:
  // MainWindowEvents
  void OnCaptureCommand() override;
  void OnTopMostCommand(bool on) override;
  void OnExitCommand() override;
  void OnSettingsCommand() override;
  void OnShowClipboardCommand() override {
    ReportFailure([this] { ShowClipboardPicture(); });
  }
  void OnReopenViewerCommand() override;
  void OnCloseRequest() override;
  void OnShown() override;
  void OnHidden() override;
  // A file that cannot be opened is reported here: it has been taken all the same, and a second
  // start that handed it over is told so.
  void OnFileGiven(const std::string& path) override {
    ReportFailure([&] { OpenImageFile(path); });
  }
  void OnTaskbarCreated() override;
  void OnRenderClipboardFormat(UINT format) override { clipboard_->Render(format); }
  void OnRenderAllClipboardFormats() override { clipboard_->RenderAll(); }
  void OnClipboardEmptied() override { clipboard_->Release(); }

  // CaptureHost
  HWND MainHandle() const override { return main_->Handle(); }
  void RememberMainPosition() override { main_->RememberPosition(); }
  void HideMainWindow() override { main_->Hide(); }
  void ShowMainWindow() override { main_->Show(); }
  bool MainWindowVisible() const override { return main_->IsVisible(); }
  void OnCaptured() override { main_->EnableSameRect(); }
  void OnMagnifierToggled(bool on) override;

  // SettingsDialogEvents
  void OnSettingsAccepted(const Settings& accepted) override;

  void LoadSettings();
  void SaveSettings();
  // The save folder must exist; a missing one is reported and the program's folder used instead.
  void CheckSaveFolder();
  // Asks before closing open viewers; false when the user says no.
  bool CloseViewersForExit();
  // Opens a picture file in a new viewer, centred in the work area.
  void OpenImageFile(const std::string& path);
  // Pins the clipboard's picture in a new viewer at the pointer, or says that there is none.
  void ShowClipboardPicture();
  // Binds PrintScreen to the range capture and Ctrl+PrintScreen to the window capture, each on its
  // own, or unbinds both (UseHotKey); binds the clipboard's hotkey when one is set. Keys that cannot
  // be bound are reported together, with the likely cause.
  void ApplyHotKeys();
  // Adds the notification-area icon, or takes it away.
  void ShowTrayIcon(bool show);
  // Starts a range selection as PrintScreen does.
  void StartRangeFromOutside();
  // Runs an action that the user started from outside the program's windows (a hotkey, the
  // notification-area icon, a file handed over): its failure is shown owned by the main window,
  // in front.
  void ReportFailure(const std::function<void()>& action);
  // The notification-area icon's events.
  void OnTrayLeftButtonUp();
  void OnTrayMiddleButtonUp();

  OleSession ole_;  // the shell's folder dialog needs it, once for the program
  ProgramContext context_;
  IniFile settingsFile_;
  Settings settings_;  // the settings in force; the parts below read them
  UniqueIcon fileIcon_;
  UniqueIcon trayIconImage_;  // the small icon at the screen's DPI
  std::unique_ptr<AppOwnerWindow> owner_;
  // The main window owns the clipboard's picture: declared before it, the picture outlives the
  // window's last clipboard message.
  std::unique_ptr<ClipboardPicture> clipboard_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<Viewers> viewers_;             // owned by the main window: they go before it
  std::unique_ptr<WaitHotKey> rangeHotKey_;      // PrintScreen
  std::unique_ptr<WaitHotKey> windowHotKey_;     // Ctrl+PrintScreen
  std::unique_ptr<WaitHotKey> clipboardHotKey_;  // ClipboardViewHotKey
  std::unique_ptr<TaskTray> tray_;
  std::optional<TrayIcon> trayIcon_;  // there while the icon is in the notification area
  std::unique_ptr<CaptureEngine> capture_;
  std::unique_ptr<SettingsDialog> settingsDialog_;
  bool exitAfterSettings_ = false;  // the program ends once the settings dialog has closed
  bool showAtStart_ = true;
  bool openArgumentPending_ = true;
};

}  // namespace kmrn
