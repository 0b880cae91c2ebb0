#pragma once
// The settings dialog "設定": three pages of controls made from the dialog's layout table, filled
// from the settings at every showing, reporting on OK the settings the user accepted. It shows and
// reports; storing them, what changes at once and the saving are the program's.

#include <windows.h>

#include <memory>
#include <string>

#include "framework/win/controls.h"
#include "framework/win/window.h"
#include "settings/settings.h"
#include "settings/settings_form.h"
#include "settings/win/browse_folder_win.h"

namespace kmrn {

class SettingsDialogEvents {
 public:
  virtual ~SettingsDialogEvents() = default;
  // OK: the settings the dialog was shown with, changed as the user left the controls. The
  // program stores them, applies what changes at once and saves; a failure keeps the dialog open.
  virtual void OnSettingsAccepted(const Settings& accepted) = 0;
};

class SettingsDialog final : public Window, private SettingsFormControls {
 public:
  // Made hidden, owned by the main window.
  SettingsDialog(HWND owner, SettingsDialogEvents& events);
  ~SettingsDialog() override;

  // Shows the dialog filled from the settings, first page in front, the owner disabled, and
  // returns when it has been closed by OK or キャンセル.
  void ShowModal(const Settings& settings);
  bool IsOpen() const { return open_; }
  // While it is open: brings it to the front, or the window it has opened over itself (the folder
  // browser, the colour or file dialog, a message box).
  void BringToFront() const;
  // While it is open: closes what it has opened over itself, each as by キャンセル, and then
  // itself, storing nothing; ShowModal returns once the messages that close them are handled.
  void Cancel();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(std::uint16_t id, UINT code);
  void OnOk();
  void Close();
  void OnBrowseSaveFolder();
  void OnChooseEditor();
  void OnChooseColour();
  void OnOpenLink(std::uint16_t id);
  void TakeTypedQuality();
  void OnTabChanged();
  void DrawSwatch(const DRAWITEMSTRUCT& item);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void SizeToClient();

  // SettingsFormControls
  bool Checked(std::uint16_t id) const override;
  void SetChecked(std::uint16_t id, bool checked) override;
  std::string Text(std::uint16_t id) const override;
  void SetText(std::uint16_t id, const std::string& text) override;
  int Position(std::uint16_t id) const override;
  void SetPosition(std::uint16_t id, int position) override;
  std::uint32_t Colour(std::uint16_t) const override { return swatchColour_; }
  void SetColour(std::uint16_t id, std::uint32_t colour) override;
  void Enable(std::uint16_t id, bool enabled) override;

  SettingsDialogEvents& events_;
  HWND owner_;
  Settings shown_;  // as the dialog was shown with them
  int dpi_ = 96;
  std::unique_ptr<Controls> controls_;
  BrowseFolder browse_;
  std::uint32_t swatchColour_ = 0;
  // After the colour dialog the swatch is drawn 41 pixels wide, wider than itself, so that its
  // outline shows on the left, top and bottom only.
  bool swatchOutlineOpen_ = false;
  COLORREF lastChosenColour_ = 0;  // the colour dialog opens with it (black the first time)
  COLORREF customColours_[16] = {};
  std::wstring lastEditor_;  // the open-file dialog's last file
  bool open_ = false;
};

}  // namespace kmrn
