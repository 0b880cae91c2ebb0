#pragma once
// How the program describes a menu: one table per menu, its items in display order, with
// separators and submenus.

#include <cstdint>
#include <span>
#include <vector>

namespace kmrn {

struct MenuEntry {
  enum class Kind { Command, Separator, SubmenuStart, SubmenuEnd };
  Kind kind;
  std::uint16_t command;  // 0 for anything but a command
  const char* caption;
};

inline constexpr MenuEntry MenuCommand(std::uint16_t command, const char* caption) {
  return {MenuEntry::Kind::Command, command, caption};
}
inline constexpr MenuEntry MenuSeparator{MenuEntry::Kind::Separator, 0, nullptr};
inline constexpr MenuEntry MenuSubmenu(const char* caption) { return {MenuEntry::Kind::SubmenuStart, 0, caption}; }
inline constexpr MenuEntry MenuSubmenuEnd{MenuEntry::Kind::SubmenuEnd, 0, nullptr};

// One item of a menu as its table makes it: a command, a separator, or a submenu with its items.
struct MenuNode {
  const MenuEntry* entry;  // for a submenu its start, which holds the caption
  std::vector<MenuNode> items;
};

// The items of the menu a table describes. The entries between a submenu's start and its end go
// into the submenu, which may hold submenus of its own; an end without a start is passed over, and
// a submenu still open at the table's end is left out.
std::vector<MenuNode> MenuTree(std::span<const MenuEntry> table);

}  // namespace kmrn
