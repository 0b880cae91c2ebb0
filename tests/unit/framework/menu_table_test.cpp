#include "framework/menu_table.h"

#include <gtest/gtest.h>

#include <string>

namespace kmrn {
namespace {

// The items as text: a command by its number, a separator as "-", a submenu as caption[items].
std::string Shape(const std::vector<MenuNode>& items) {
  std::string text;
  for (const MenuNode& item : items) {
    if (!text.empty()) text += ' ';
    switch (item.entry->kind) {
      case MenuEntry::Kind::Command: text += std::to_string(item.entry->command); break;
      case MenuEntry::Kind::Separator: text += '-'; break;
      default: text += std::string(item.entry->caption) + "[" + Shape(item.items) + "]";
    }
  }
  return text;
}

TEST(MenuTree, SubmenusTakeTheEntriesBetweenTheirStartAndEnd) {
  // As the viewer's menu is made.
  constexpr MenuEntry kViewer[] = {
      MenuCommand(1, "コピー(&C)"),   MenuSeparator,  MenuSubmenu("編集(&E)"), MenuCommand(2, "左右反転(&L)"),
      MenuCommand(3, "上下反転(&U)"), MenuSubmenuEnd, MenuSeparator,           MenuCommand(4, "閉じる(&Q)"),
  };
  EXPECT_EQ(Shape(MenuTree(kViewer)), "1 - 編集(&E)[2 3] - 4");

  constexpr MenuEntry kNested[] = {
      MenuSubmenu("A"),   MenuCommand(1, ""), MenuSubmenu("B"), MenuCommand(2, ""), MenuSubmenuEnd,
      MenuCommand(3, ""), MenuSubmenuEnd,     MenuSubmenu("C"), MenuSubmenuEnd,     MenuCommand(4, ""),
  };
  EXPECT_EQ(Shape(MenuTree(kNested)), "A[1 B[2] 3] C[] 4");

  constexpr MenuEntry kUnmatched[] = {MenuSubmenuEnd, MenuCommand(1, ""), MenuSubmenu("A"), MenuCommand(2, "")};
  EXPECT_EQ(Shape(MenuTree(kUnmatched)), "1");
}

}  // namespace
}  // namespace kmrn
