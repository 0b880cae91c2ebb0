#include "framework/menu_table.h"

#include <gtest/gtest.h>

#include <string>

namespace kmrn {
namespace {

// A command by its number, a separator as "-", a submenu as caption[items].
std::string Shape(const std::vector<MenuNode>& items) {
  std::string text;
  for (const MenuNode& item : items) {
    if (!text.empty()) text += ' ';
    if (item.entry->kind == MenuEntry::Kind::Command) text += std::to_string(item.entry->command);
    if (item.entry->kind == MenuEntry::Kind::Separator) text += '-';
    if (item.entry->kind == MenuEntry::Kind::SubmenuStart)
      text.append(item.entry->caption).append("[").append(Shape(item.items)).append("]");
  }
  return text;
}

TEST(MenuTree, SubmenusTakeTheEntriesBetweenTheirStartAndTheirEnd) {
  // clang-format off
  constexpr MenuEntry kTable[] = {
      MenuSubmenuEnd,  // ends no submenu: passed over
      MenuCommand(1, ""), MenuSeparator,
      MenuSubmenu("A"), MenuCommand(2, ""), MenuSubmenu("B"), MenuCommand(3, ""), MenuSubmenuEnd, MenuCommand(4, ""),
      MenuSubmenuEnd,
      MenuSubmenu("C"), MenuSubmenuEnd,
      MenuCommand(5, ""),
      MenuSubmenu("D"), MenuCommand(6, ""),  // never ended: left out
  };
  // clang-format on
  EXPECT_EQ(Shape(MenuTree(kTable)), "1 - A[2 B[3] 4] C[] 5");
}

}  // namespace
}  // namespace kmrn
