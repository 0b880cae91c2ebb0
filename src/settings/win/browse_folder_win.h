#pragma once
// The platform's folder-browse dialog, opened at a folder given as a path or a special folder,
// and, in its classic style, at the size and place where the user last left it (as long as the
// program runs), with its tree and buttons laid out again to fit. Only one is open at a time.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "settings/browse_folder_layout.h"

namespace kmrn {

class BrowseFolder {
 public:
  std::string RootDir;
  BrowseSpecialDir RootSpecialDir = BrowseSpecialDir::sfDesktop;
  std::string InitDir;
  BrowseSpecialDir InitSpecialDir = BrowseSpecialDir::sfNone;
  std::uint32_t Options = static_cast<std::uint32_t>(BrowseOption::bifReturnOnlyFSDirs);
  std::string Caption;            // empty keeps the platform's
  std::string Title;              // above the tree
  int FormLeft = 0, FormTop = 0;  // both 0: centred on the screen

  int FormWidth() const { return formWidth_; }
  int FormHeight() const { return formHeight_; }
  // Ignored while the dialog is open; never below the dialog's smallest size.
  void SetFormWidth(int width);
  void SetFormHeight(int height);

  // Shows the dialog, owned by the window; true when the user chose a folder that has a path.
  bool Execute(HWND owner);
  const std::string& SelectedDir() const { return selectedDir_; }
  const std::string& SelectedName() const { return selectedName_; }
  // After Execute returned false: the display name of what the user chose when it has no usable
  // file-system path; nothing when the user cancelled or the dialog failed.
  const std::optional<std::string>& UnusableChoice() const { return unusableChoice_; }

  std::function<void()> OnShow;
  // At each change of selection: the folder's path; the handler may change the status line and
  // whether OK is enabled.
  std::function<void(HWND dialog, const std::string& directory, std::string& statusText, bool& okEnabled)>
      OnSelectionChanged;

 private:
  static int CALLBACK Callback(HWND dialog, UINT message, LPARAM item, LPARAM self) noexcept;
  void OnInitialized(HWND dialog);
  void LayOut(HWND dialog);

  HWND dialog_ = nullptr;
  const void* initialItem_ = nullptr;  // the item to select at opening, while Execute runs
  int formWidth_ = BrowseDefaultWidth, formHeight_ = BrowseDefaultHeight;
  int minWidth_ = BrowseDefaultWidth, minHeight_ = BrowseDefaultHeight;
  std::string selectedDir_, selectedName_;
  std::optional<std::string> unusableChoice_;
};

}  // namespace kmrn
