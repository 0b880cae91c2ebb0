#include "framework/menu_table.h"

#include <utility>

namespace kmrn {

std::vector<MenuNode> MenuTree(std::span<const MenuEntry> table) {
  // The menu's items, then those of each submenu begun and not yet ended, the innermost last.
  std::vector<std::vector<MenuNode>> open(1);
  std::vector<const MenuEntry*> starts;
  for (const MenuEntry& entry : table) {
    switch (entry.kind) {
      case MenuEntry::Kind::Command:
      case MenuEntry::Kind::Separator: open.back().push_back({&entry, {}}); break;
      case MenuEntry::Kind::SubmenuStart:
        starts.push_back(&entry);
        open.emplace_back();
        break;
      case MenuEntry::Kind::SubmenuEnd: {
        if (starts.empty()) break;
        MenuNode submenu{starts.back(), std::move(open.back())};
        starts.pop_back();
        open.pop_back();
        open.back().push_back(std::move(submenu));
        break;
      }
    }
  }
  return std::move(open.front());
}

}  // namespace kmrn
