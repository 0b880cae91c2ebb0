#pragma once
// The main window: the program's control panel. It shows the capture button, the output check
// boxes, the two modes with the window list, and the context menus, and it reports what the user
// does to the program, which decides what follows.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/win/capture_engine.h"
#include "framework/geometry.h"
#include "framework/win/controls.h"
#include "framework/win/popup_menu.h"
#include "framework/win/window.h"
#include "settings/settings.h"
#include "shell/main_window_layout.h"

namespace kmrn {

// What the main window reports.
class MainWindowEvents {
 public:
  virtual ~MainWindowEvents() = default;
  virtual void OnCaptureCommand() = 0;         // the Capture button
  virtual void OnTopMostCommand(bool on) = 0;  // "常に手前に表示" ticked or unticked
  virtual void OnExitCommand() = 0;            // "終了"
  virtual void OnSettingsCommand() = 0;        // "設定"
  virtual void OnShowClipboardCommand() = 0;   // "クリップボードから表示"
  virtual void OnReopenViewerCommand() = 0;    // "閉じた表示を戻す"
  virtual void OnCloseRequest() = 0;           // the close box or Alt+F4; the window never closes itself
  virtual void OnShown() = 0;                  // each time the window becomes visible
  virtual void OnHidden() = 0;
  virtual void OnFileGiven(const std::string& path) = 0;  // dropped on the window or forwarded
  virtual void OnTaskbarCreated() = 0;                    // the shell has (re)started: notification-area icons are gone
  // The clipboard's messages: the window owns what the program puts on the clipboard.
  virtual void OnRenderClipboardFormat(UINT format) = 0;  // a program asks for a promised format
  virtual void OnRenderAllClipboardFormats() = 0;         // the window goes: every promise is kept now
  virtual void OnClipboardEmptied() = 0;                  // what the program put there has been replaced
};

class MainWindow final : public Window {
 public:
  // Creates the hidden window with its controls and menus, in range mode. The magnet and the
  // window list read `settings` as they are at each moment.
  MainWindow(HWND owner, MainWindowEvents& events, const Settings& settings);
  ~MainWindow() override;

  // The program's icon, also shown in the window's caption.
  void SetIcon(HICON icon);

  // The state the settings file keeps: position, check boxes, mode, always on top.
  MainWindowState State() const;
  // Puts the window into a state from the settings file: the check boxes, the always-on-top mark
  // and band, the position as it is given, then the mode.
  void ApplyState(const MainWindowState& state);

  // The first check box names the file it saves: a BMP, or a PNG with SavePng on.
  void ShowFirstFileFormat(bool png);

  // What a capture started now is to do, as the controls show it.
  CaptureChoices Choices() const;

  void Show() { ShowWindow(Handle(), SW_SHOW); }
  void Hide() { ShowWindow(Handle(), SW_HIDE); }
  bool IsVisible() const { return IsWindowVisible(Handle()) != 0; }
  // The window comes back at its current position the next time it is shown.
  void RememberPosition();
  // The same-place command becomes available (after the first capture).
  void EnableSameRect();
  // Ticks or unticks always-on-top and moves the window into or out of the topmost band.
  void SetTopMost(bool on);
  bool TopMost() const;
  // Opens the window's own menu at a screen point (from the notification-area icon).
  void ShowTaskMenu(POINT screenPoint) const { taskMenu_.Show(Handle(), screenPoint); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void OnCreated();
  void OnWindowPosChanging(WINDOWPOS& pos);
  void OnWindowPosChanged(const WINDOWPOS& pos);
  void OnDropFiles(HDROP drop);
  bool OnCopyData(const COPYDATASTRUCT& data);
  void OnCommand(UINT id, UINT code);
  void OnContextMenu(HWND source, POINT screenPoint);
  void OnMenuCommand(MainCommand command);
  void OnPaint();
  void OnDpiChanged(int dpi, const RECT& suggested);

  void OnRangeModeClick();
  void OnWindowModeClick();
  void RefillWindowList();
  HWND SelectedListWindow() const;
  void SetClientHeight(int designHeight);
  int OuterHeightFor(int designClientHeight) const;
  void MoveTo(Position position);
  bool Checked(MainControl control) const;
  void SetCheck(MainControl control, bool checked);
  HWND WindowList() const;

  MainWindowEvents& events_;
  const Settings& settings_;
  int dpi_ = 96;
  std::unique_ptr<Controls> controls_;
  PopupMenu taskMenu_;
  PopupMenu listMenu_;
  std::vector<HWND> windowListHandles_;
  Position saved_;
  bool shownOnce_ = false;  // the magnet leaves the position restored at start alone
  bool returning_ = false;  // going back to the kept place as the window shows
};

}  // namespace kmrn
