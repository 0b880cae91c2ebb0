#pragma once
// The main window: the program's control panel, whose life is the program's life. It loads
// the settings as it is created and saves them on the way out.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "framework/win/unique_resource.h"
#include "framework/win/window.h"
#include "settings/settings.h"
#include "shell/win/program_win.h"

namespace kmrn {

inline constexpr const wchar_t* MainWindowClass = L"KMRN_MAIN_WINDOW";
inline constexpr const wchar_t* MainWindowCaption = L"Kamerin";

class MainWindow final : public Window {
 public:
  MainWindow(const ProgramContext& context, HWND owner);
  ~MainWindow() override;

  // Shows the window at start unless the settings keep it hidden.
  void ShowAtStart();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void OnCreated();
  void OnShown();
  void OnHidden();
  bool OnCloseRequest();
  void OnDestroy();
  void OnDropFiles(HDROP drop);
  bool OnCopyData(const COPYDATASTRUCT& data);

  void LoadSettings();
  void SaveSettings();
  void OpenImageFile(const std::string& path);
  void SetClientHeight(int height);
  void ApplyTopMost();

  const ProgramContext& context_;
  UniqueIcon fileIcon_;
  MainWindowState state_;
  Position saved_;
  bool showAtStart_ = true;
  bool openArgumentPending_ = true;
  bool shownOnce_ = false;
};

}  // namespace kmrn
