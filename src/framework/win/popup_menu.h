#pragma once
// A context menu owned by one window: items with command ids, check marks and enabled states.

#include <windows.h>

#include <string>

#include <span>

#include "framework/menu_table.h"
#include "framework/win/unique_resource.h"

namespace kmrn {

struct MenuTraits {
  using Value = HMENU;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value value) noexcept { DestroyMenu(value); }
};

class PopupMenu {
 public:
  PopupMenu();
  // The menu of a table.
  explicit PopupMenu(std::span<const MenuEntry> table);
  void AddItem(UINT id, const std::string& caption);
  void AddSeparator();
  // Appends a submenu, which this menu takes over.
  void AddSubmenu(const std::string& caption, PopupMenu submenu);
  void RemoveItem(UINT id);
  void SetCaption(UINT id, const std::string& caption);
  // The caption a table gives a command, for an item put back after RemoveItem.
  static const char* CaptionIn(std::span<const MenuEntry> table, UINT id);
  void SetChecked(UINT id, bool checked);
  bool IsChecked(UINT id) const;
  void SetEnabled(UINT id, bool enabled);
  bool IsEnabled(UINT id) const;
  // Opens the menu at a screen point; the chosen item arrives as WM_COMMAND at the owner.
  void Show(HWND owner, POINT screenPoint) const;
  HMENU Handle() const { return menu_.Get(); }

 private:
  UniqueResource<MenuTraits> menu_;
};

}  // namespace kmrn
