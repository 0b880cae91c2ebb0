#include "components/key_assign.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "components/key_names.h"

namespace kmrn {
namespace {

TEST(KeyNames, NameTheKeysByVirtualKeyCodeWithoutRegardToCase) {
  const auto& names = KeyNames();
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](std::string_view n) { return !n.empty(); }), 150);
  EXPECT_EQ(KeyNameToCode("snapshot"), 0x2C);
  EXPECT_EQ(NormalizeKeyName("snapshot"), "SnapShot");
  EXPECT_EQ(KeyNameToCode("F24"), 0x87);
  EXPECT_EQ(KeyNameToCode("Num9"), 0x69);
  EXPECT_EQ(KeyNameToCode("Oem_Clear"), 0xFE);
  EXPECT_EQ(KeyNameToCode("Nothing"), -1);
  EXPECT_EQ(NormalizeKeyName("Nothing"), "");
}

TEST(KeyAssign, TheTextFormReadsBackAsTheProgramShowsIt) {
  const struct {
    const char* written;
    const char* shown;  // from a fresh assignment
  } kCases[] = {
      {"ctrl+snapshot", "Ctrl+SnapShot"},
      {"Shift+Ctrl+A", "Ctrl+Shift+A"},
      {"Windows+Alt+Ctrl+Shift+F12", "Windows+Alt+Ctrl+Shift+F12"},
      {"Ctrl+Q+W", "Ctrl+W"},  // the last key name wins
      {"Ctrl+Nothing", "(なし)"},
      {"Ctrl + A", "(なし)"},  // tokens are not trimmed: " A" is no key
      {"", "(なし)"},
      {"+A", "(なし)"},  // the first token is empty: nothing changes
      {"Ctrl+Shift", "(なし)"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.written);
    KeyAssign assign;
    ParseHotKeyText(c.written, assign);
    EXPECT_EQ(HotKeyShownText(assign), c.shown);
  }
}

// The settings dialog's hot key field holds a key as the system's control does (code, then the
// Shift/Ctrl/Alt flags 1/2/4); the text form goes in and comes back as the settings keep it.
TEST(KeyAssign, TheHotKeyFieldsValueAndTheTextFormTurnIntoEachOther) {
  const struct {
    const char* text;
    std::uint16_t value;
    const char* back;
  } kCases[] = {
      {"Ctrl+Shift+V", 0x0356, "Ctrl+Shift+V"},
      {"alt+f9", 0x0478, "Alt+F9"},
      {"SnapShot", 0x002C, "SnapShot"},
      {"Windows+Ctrl+B", 0x0242, "Ctrl+B"},  // the control has no Windows key
      {"Ctrl+Nothing", 0, ""},
      {"", 0, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(HotKeyFieldValue(c.text), c.value);
    EXPECT_EQ(HotKeyFieldText(c.value), c.back);
  }
  EXPECT_EQ(HotKeyFieldText(0x0800 | 0x26), "Up") << "the extended-key flag adds nothing";
  EXPECT_EQ(HotKeyFieldText(0x0207), "") << "a code without a name is no key";
}

TEST(KeyAssign, ChangesAreReportedOnceEachAndTextsWithoutAKeyChangeNothing) {
  KeyAssign assign;
  int changes = 0;
  assign.OnChange = [&] { ++changes; };
  ParseHotKeyText("Ctrl+Alt+F5", assign);
  EXPECT_EQ(changes, 1);
  assign.SetCtrl(true);  // the same value, reported all the same
  EXPECT_EQ(changes, 2);
  ParseHotKeyText("Ctrl+Shift", assign);
  ParseHotKeyText("+A", assign);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(HotKeyShownText(assign), "Alt+Ctrl+F5");
  EXPECT_EQ(HotKeyModifiers(assign), ModAlt | ModControl);

  KeyAssign other;
  ParseHotKeyText("Windows+Shift+Num0", other);
  assign.Assign(other);
  EXPECT_EQ(changes, 3) << "one report, with all five values in place";
  EXPECT_EQ(HotKeyShownText(assign), "Windows+Shift+Num0");
  EXPECT_EQ(assign.KeyCode(), 0x60);
  EXPECT_EQ(HotKeyModifiers(assign), ModWin | ModShift);

  ParseHotKeyText("(なし)", assign);  // clears the key and every modifier
  EXPECT_FALSE(assign.CanUse());
  EXPECT_EQ(HotKeyModifiers(assign), 0u);
}

}  // namespace
}  // namespace kmrn
