#pragma once
// The main window: the program's control panel, whose life is the program's life. It loads the
// settings as it is created, holds the window-state keys in its controls, hands every capture
// trigger to the capture engine, and saves the settings on the way out.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/win/capture_engine.h"
#include "framework/win/popup_menu.h"
#include "framework/win/unique_resource.h"
#include "framework/win/window.h"
#include "settings/settings.h"
#include "shell/win/main_controls.h"
#include "shell/win/program_win.h"

namespace kmrn {

inline constexpr const wchar_t* MainWindowClass = L"KMRN_MAIN_WINDOW";
inline constexpr const wchar_t* MainWindowCaption = L"Kamerin";

class MainWindow final : public Window, private CaptureHost {
 public:
  MainWindow(const ProgramContext& context, HWND owner);
  ~MainWindow() override;

  // Shows the window at start unless the settings keep it hidden.
  void ShowAtStart();

  // The hotkey sequences; the hotkey component calls them.
  void OnRangeHotKey() { capture_->OnRangeHotKey(); }
  void OnWindowHotKey() { capture_->OnWindowHotKey(); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void OnCreated();
  void OnShown();
  void OnHidden();
  bool OnCloseRequest();
  void OnExitCommand();
  void OnDestroy();
  void OnDropFiles(HDROP drop);
  bool OnCopyData(const COPYDATASTRUCT& data);
  void OnCommand(UINT id, UINT code);
  void OnContextMenu(HWND source, POINT screenPoint);
  void OnMenuCommand(MainCommand command);
  void OnPaint();
  void OnDpiChanged(int dpi, const RECT& suggested);

  void OnRangeModeClick();
  void OnWindowModeClick();
  void OnWindowListDoubleClick();
  void RefillWindowList();

  void LoadSettings();
  void SaveSettings();
  // Asks before closing open viewers; false when the user says no.
  bool CloseViewersForExit();
  void OpenImageFile(const std::string& path);
  void SetClientHeight(int designHeight);
  int OuterHeightFor(int designClientHeight) const;
  void ApplyTopMost();
  bool TopMost() const { return taskMenu_.IsChecked(static_cast<UINT>(MainCommand::POP_WindowTopMost)); }

  // CaptureHost
  HWND MainHandle() const override { return Handle(); }
  void RememberMainPosition() override;
  void HideMainWindow() override { ShowWindow(Handle(), SW_HIDE); }
  void ShowMainWindow() override { ShowWindow(Handle(), SW_SHOW); }
  bool MainWindowVisible() const override { return IsWindowVisible(Handle()) != 0; }
  bool SaveBmpChecked() const override { return controls_->IsChecked(MainControl::CheckBox_BMP); }
  bool SaveJpgChecked() const override { return controls_->IsChecked(MainControl::CheckBox_JPG); }
  bool ViewerChecked() const override { return controls_->IsChecked(MainControl::CheckBox_Win); }
  bool TopMostChecked() const override { return TopMost(); }
  bool SameRectChecked() const override;
  void EnableSameRect() override;
  bool WindowModeChecked() const override { return controls_->IsChecked(MainControl::RadioButton_Window); }
  std::optional<HWND> SelectedListWindow() const override;

  const ProgramContext& context_;
  int dpi_ = 96;
  UniqueIcon fileIcon_;
  std::unique_ptr<MainControls> controls_;
  PopupMenu taskMenu_;
  PopupMenu listMenu_;
  std::vector<HWND> windowListHandles_;
  std::unique_ptr<CaptureEngine> capture_;
  Position saved_;
  bool showAtStart_ = true;
  bool openArgumentPending_ = true;
  bool shownOnce_ = false;
};

}  // namespace kmrn
