#include "capture/window_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kmrn {
namespace {

TEST(WindowList, ItemText) {
  const struct {
    const char* title;
    const char* className;
    const char* item;
  } kCases[] = {
      {"Notes", "Edit", "[Notes] [Edit]"},
      {"", "tooltips_class32", "[] [tooltips_class32]"},
      {"Program Manager", "Progman", "[デスクトップ全体]"},
      {"", "Shell_TrayWnd", "[タスクバー]"},
      {"Progman", "Edit", "[Progman] [Edit]"},  // only the class names the desktop
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(WindowItemText(c.title, c.className), c.item);
  }
}

TEST(WindowList, TextsAreCutTo99BytesOnACharacterBoundary) {
  const std::string a150(150, 'a');
  EXPECT_EQ(WindowItemText(a150, std::string(120, 'C')), "[" + a150.substr(0, 99) + "] [" + std::string(99, 'C') + "]");

  const struct {
    const char* name;
    std::string text;
    std::size_t keptBytes;
  } kCases[] = {
      {"three-byte character across the cut", std::string(98, 'x') + "あ", 98},
      {"two of its bytes before the cut", std::string(97, 'x') + "あy", 97},
      {"four-byte character across the cut", std::string(96, 'x') + "😀y", 96},
      {"two-byte character ending before the cut", std::string(97, 'x') + "éy", 99},
      {"not UTF-8: cut where it stands", std::string(95, 'x') + std::string(10, '\x80'), 99},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CutWindowText(c.text), c.text.substr(0, c.keptBytes));
  }
}

TEST(WindowList, OffersVisibleWindowsTouchingTheDesktopInEnumerationOrder) {
  const std::uintptr_t mainWindow = 0x100;
  const std::vector<TopLevelWindow> windows{
      {0x200, "Notes", "Edit", true, {100, 100, 500, 400}},
      {mainWindow, "Kamerin", "KMRN_MAIN_WINDOW", true, {10, 10, 320, 80}},
      {0x300, "FormKN_Serect", "TFormKN_Serect", false, {0, 0, 1920, 1080}},
      {0x400, "", "Shell_TrayWnd", true, {0, 1040, 1920, 1080}},
      {0x500, "Minimised", "Notepad", true, {-32000, -32000, -31840, -31969}},
      {0x600, "Empty", "Static", true, {50, 50, 50, 90}},
      {0x700, "Left of it", "Edit", true, {-400, 0, 0, 300}},
      {0x800, "Program Manager", "Progman", true, {0, 0, 1920, 1080}},
  };
  const WindowList list = BuildWindowList(windows, mainWindow, {0, 0, 1920, 1080});
  EXPECT_EQ(list.items,
            (std::vector<std::string>{"[Notes] [Edit]", "[タスクバー]", "[Left of it] [Edit]", "[デスクトップ全体]"}));
  EXPECT_EQ(list.handles, (std::vector<std::uintptr_t>{0x200, 0x400, 0x700, 0x800}));
}

}  // namespace
}  // namespace kmrn
