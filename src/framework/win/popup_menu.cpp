#include "framework/win/popup_menu.h"

#include <optional>

#include "framework/win/text_win.h"
#include "framework/win/win32_error.h"

namespace kmrn {

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {
  if (!menu_) ThrowLastSystemError("CreatePopupMenu");
}

PopupMenu::PopupMenu(std::span<const MenuEntry> table) : PopupMenu() {
  std::optional<PopupMenu> submenu;
  const char* submenuCaption = nullptr;
  for (const MenuEntry& entry : table) {
    PopupMenu& target = submenu ? *submenu : *this;
    switch (entry.kind) {
      case MenuEntry::Kind::Command: target.AddItem(entry.command, entry.caption); break;
      case MenuEntry::Kind::Separator: target.AddSeparator(); break;
      case MenuEntry::Kind::SubmenuStart:
        submenu.emplace();
        submenuCaption = entry.caption;
        break;
      case MenuEntry::Kind::SubmenuEnd:
        if (submenu) AddSubmenu(submenuCaption, std::move(*submenu));
        submenu.reset();
        break;
    }
  }
}

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
