#pragma once
// How the program describes a menu: one table per menu, its items in display order, with
// separators and submenus.

#include <cstdint>

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

}  // namespace kmrn
