#include "framework/win/popup_menu.h"

#include <vector>

#include "framework/win/text_win.h"
#include "framework/win/win32_error.h"

namespace kmrn {
namespace {

void AddItems(PopupMenu& menu, const std::vector<MenuNode>& items) {
  for (const MenuNode& item : items) {
    switch (item.entry->kind) {
      case MenuEntry::Kind::Command: menu.AddItem(item.entry->command, item.entry->caption); break;
      case MenuEntry::Kind::Separator: menu.AddSeparator(); break;
      default: {  // a submenu
        PopupMenu submenu;
        AddItems(submenu, item.items);
        menu.AddSubmenu(item.entry->caption, std::move(submenu));
      }
    }
  }
}

}  // namespace

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {
  if (!menu_) ThrowLastSystemError("CreatePopupMenu");
}

PopupMenu::PopupMenu(std::span<const MenuEntry> table) : PopupMenu() { AddItems(*this, MenuTree(table)); }

const char* PopupMenu::CaptionIn(std::span<const MenuEntry> table, UINT id) {
  for (const MenuEntry& entry : table) {
    if (entry.kind == MenuEntry::Kind::Command && entry.command == id) return entry.caption;
  }
  return "";
}

void PopupMenu::AddItem(UINT id, const std::string& caption) {
  AppendMenuW(menu_.Get(), MF_STRING, id, Widen(caption).c_str());
}

void PopupMenu::AddSeparator() { AppendMenuW(menu_.Get(), MF_SEPARATOR, 0, nullptr); }

void PopupMenu::AddSubmenu(const std::string& caption, PopupMenu submenu) {
  if (AppendMenuW(menu_.Get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu.Handle()),
                  Widen(caption).c_str())) {
    submenu.menu_.Release();  // destroyed with this menu
  }
}

void PopupMenu::RemoveItem(UINT id) { RemoveMenu(menu_.Get(), id, MF_BYCOMMAND); }

void PopupMenu::SetCaption(UINT id, const std::string& caption) {
  std::wstring text = Widen(caption);
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING;
  item.dwTypeData = text.data();
  SetMenuItemInfoW(menu_.Get(), id, FALSE, &item);
}

void PopupMenu::SetChecked(UINT id, bool checked) {
  CheckMenuItem(menu_.Get(), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool PopupMenu::IsChecked(UINT id) const { return GetMenuState(menu_.Get(), id, MF_BYCOMMAND) & MF_CHECKED; }

void PopupMenu::SetEnabled(UINT id, bool enabled) {
  EnableMenuItem(menu_.Get(), id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool PopupMenu::IsEnabled(UINT id) const {
  return !(GetMenuState(menu_.Get(), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

void PopupMenu::Show(HWND owner, POINT screenPoint) const {
  // The owner must be in front, or the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  TrackPopupMenu(menu_.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace kmrn
