#include "settings/ini_text.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

using namespace std::string_literals;

TEST(IniText, ReadsValuesAsTheProfileFunctionsDo) {
  const IniText ini(
      "; comment=not a key\r\n[Other]\r\nSaveFile=other\r\n"
      "[setting]\r\n  savefile =  C:\\shots  \r\nQuoted=\"  spaced  \"\r\nEmpty=\r\nSaveFile=second\r\n"
      "Odd=\x85\x40\x81\r\nNul=ab\0cd\r\nCr=a\rb \r\x1a\r\n[no section=1\r\n;Commented=1\r\nnoequals\r\n"
      "[Setting]\r\nLater=1\r\n"s);
  const struct {
    const char* key;
    std::optional<std::string> value;
  } kCases[] = {
      {"SaveFile", "C:\\shots"},  // any case, blanks around key and value dropped, the first of two
      {"Quoted", "  spaced  "},   // one pair of enclosing quotes dropped
      {"Empty", ""},              // present but empty
      {"Odd", "\x85\x40\x81"},    // bytes as they stand
      {"Nul", "ab"},              // as far as a NUL byte
      {"Cr", "a\rb"},             // a lone carriage return inside a value stays, at its end it is a blank
      {"[no section", "1"},       // a "[" without "]" is no section header
      {"Commented", std::nullopt},
      {"noequals", std::nullopt},
      {"Later", std::nullopt},  // only the first section of a name counts
      {"Missing", std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ini.Value("Setting", c.key), c.value);
  }
  EXPECT_EQ(IniText("[Setting]\r\nKey=1").Value("Setting", "Key"), "1") << "a last line without a line break";
  EXPECT_EQ(IniText("\xEF\xBB\xBF[Setting]\r\nKey=1").Value("Setting", "Key"), "1") << "after a UTF-8 byte-order mark";
}

TEST(IniText, WritesInPlaceAtTheSectionsEndOrInANewSectionAndKeepsEveryOtherByte) {
  const struct {
    const char* name;
    std::string before;
    std::string after;  // of setting A=new
  } kCases[] = {
      {"rewritten in place", "[S]\r\n a = old ; note\r\nB=1\r\n", "[S]\r\n a =new\r\nB=1\r\n"},
      {"added after the last line, before blank lines", "[S]\r\nB=\x85\x40\r\n\r\n[T]\r\nA=t\r\n",
       "[S]\r\nB=\x85\x40\r\nA=new\r\n\r\n[T]\r\nA=t\r\n"},
      {"last line without a line break", "[S]\nB=1", "[S]\nB=1\nA=new\n"},
      {"a \\r ending the file ends its line", "[S]\r\nB=1\r", "[S]\r\nB=1\r\nA=new\r\n"},
      {"... also before a new section", "[T]\r\nx=1\r", "[T]\r\nx=1\r\n\r\n[S]\r\nA=new\r\n"},
      {"a new section", "; mine\r\n[T]\r\nx=1", "; mine\r\n[T]\r\nx=1\r\n\r\n[S]\r\nA=new\r\n"},
      {"an empty file", "", "[S]\r\nA=new\r\n"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    IniText ini(c.before);
    ini.SetValue("S", "A", "new\r\nZ=injected");
    EXPECT_EQ(ini.Bytes(), c.after);
  }
  const std::string same = "[S]\r\nA = \"new\"\0\xFF\r \r\n"s;
  IniText ini(same);
  ini.SetValue("S", "A", "new");
  EXPECT_EQ(ini.Bytes(), same) << "the value the key has already leaves its line alone";
}

TEST(IniText, ReadsBackEveryValueAsItWasWritten) {
  // Blanks and enclosing quotes at a value's ends would be dropped on reading, so such a value
  // goes into quotes of its own; a lone "\r" is no line break.
  for (const std::string value : {"plain", "  spaced  ", "\"quoted\"", "'single'", "\"", "a\rb", "ends\r", ""}) {
    SCOPED_TRACE(value);
    IniText ini("[S]\nA=old\n");
    ini.SetValue("S", "A", value);
    ini.SetValue("S", "B", value);
    EXPECT_EQ(ini.Value("S", "A"), value) << "rewritten in place";
    EXPECT_EQ(ini.Value("S", "B"), value) << "added";
  }
  IniText ini;
  ini.SetValue("S", "A", " x");
  EXPECT_EQ(ini.Bytes(), "[S]\r\nA=\" x\"\r\n");
}

}  // namespace
}  // namespace kmrn
