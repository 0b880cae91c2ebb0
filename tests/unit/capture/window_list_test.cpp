#include "capture/window_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kmrn {
namespace {

// As in Shift-JIS: one byte for ASCII, two for a Japanese character.
std::size_t ShiftJisLength(std::string_view utf8Character) { return utf8Character.size() == 1 ? 1 : 2; }

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
    EXPECT_EQ(WindowItemText(c.title, c.className, ShiftJisLength), c.item);
  }
}

TEST(WindowList, TextsAreCutTo99BytesOfTheCodePageOnACharacterBoundary) {
  const std::string a150(150, 'a');
  const std::string item = WindowItemText(a150, std::string(120, 'C'), ShiftJisLength);
  EXPECT_EQ(item, std::string("[").append(99, 'a').append("] [").append(99, 'C').append("]"));

  std::string japanese;
  for (int i = 0; i < 60; ++i) japanese += "あ";  // 3 bytes each in UTF-8, 2 in the code page
  const struct {
    const char* name;
    std::string text;
    std::size_t keptBytes;  // of the UTF-8 text
  } kCases[] = {
      {"49 Japanese characters fill 98 bytes", japanese, 49 * 3},
      {"the 50th would end at byte 100", "x" + japanese, 1 + 49 * 3},
      {"a double-byte character across the cut", std::string(98, 'x') + "あ", 98},
      {"one ending on the cut", std::string(97, 'x') + "あy", 100},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CutWindowText(c.text, ShiftJisLength), c.text.substr(0, c.keptBytes));
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
  const WindowList list = BuildWindowList(windows, mainWindow, {0, 0, 1920, 1080}, ShiftJisLength);
  EXPECT_EQ(list.items,
            (std::vector<std::string>{"[Notes] [Edit]", "[タスクバー]", "[Left of it] [Edit]", "[デスクトップ全体]"}));
  EXPECT_EQ(list.handles, (std::vector<std::uintptr_t>{0x200, 0x400, 0x700, 0x800}));
}

}  // namespace
}  // namespace kmrn
