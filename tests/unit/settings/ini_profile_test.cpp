#include "settings/ini_profile.h"

#include <gtest/gtest.h>

#include <map>

namespace kmrn {
namespace {

using namespace std::string_literals;

// A code page in which no byte above 0x7F is text: such bytes come through as '?'.
std::string Lossy(std::string_view bytes) {
  std::string text(bytes);
  for (char& c : text) c = static_cast<unsigned char>(c) > 0x7F ? '?' : c;
  return text;
}
std::string Same(std::string_view text) { return std::string(text); }

TEST(IniProfile, HostileFilesGiveUsableValuesAndASaveLosesNothingItDidNotChange) {
  std::string allEmpty = "[Setting]\r\n";
  for (const SettingKey& key : SettingKeys()) allEmpty.append(key.key).append("=\r\n");
  const std::string big(100 * 1024, 'x'), other = "[Other]\r\n; " + big + "\r\n\xFFk\0=\x81\r"s;
  const struct {
    const char* name;
    std::string file;
    std::map<std::string, std::string> read, saved;  // what the program reads; the file after its save
    std::vector<std::string> kept;                   // bytes found unchanged after the save
  } kCases[] = {
      {"every key empty",
       other + "\r\n" + allEmpty,
       {{"SaveFile", ""}, {"Left", ""}},
       {{"Left", "0"}, {"win", "1"}, {"ViewWinColor", "16744576"}, {"SaveFile", ""}, {"OpenApplication", ""}},
       {other + "\r\n[Setting]\r\nLeft=0\r\n"}},
      {"binary bytes",
       "[Setting]\r\nOpenApplication=\"a.exe\"\0\xFF\r\n\xFF\x81Left\0=7\r\nOpenApplicationStr=\x81\xFF\r\n"
       "SaveFile=C:\\a\rb\r\nTop=\x81\x35\r\n"s,
       {{"OpenApplication", "a.exe"}, {"OpenApplicationStr", "??"}, {"SaveFile", "C:\\a\rb"}},
       {{"Left", "0"}, {"Top", "0"}},
       {"OpenApplication=\"a.exe\"\0\xFF\r\n\xFF\x81Left\0=7\r\nOpenApplicationStr=\x81\xFF\r\nSaveFile=C:\\a\rb\r\n"s}},
      {"a 100 KB value",
       "[Setting]\r\nOpenApplication=" + big + "\r\n" + other,
       {{"OpenApplication", big.substr(0, 2047)}},
       {},
       {"OpenApplication=" + big + "\r\n", other}},
      {"duplicates",
       "[Setting]\r\nLeft=1\r\nLEFT=2\r\n\r\n[Setting]\r\nTop=3\r\n",
       {{"Left", "1"}},
       {{"Left", "1"}, {"Top", "0"}},
       {"LEFT=2\r\n", "\r\n\r\n[Setting]\r\nTop=3\r\n"}},
      {"no settings section", other, {}, {{"Left", "0"}}, {other}},
      {"byte-order mark, a [ without ]",
       "\xEF\xBB\xBF[Setting]\r\n[x=1\r\nLeft=5\r\n",
       {{"Left", "5"}},
       {{"Left", "5"}},
       {"\xEF\xBB\xBF[Setting]\r\n[x=1\r\nLeft=5\r\n"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    IniProfile ini(Lossy, Same);
    ini.SetBytes(c.file);
    const SettingsFile read = ReadSettingsFile(ini, "C:\\app");
    for (const auto& [key, value] : c.read) EXPECT_EQ(ini.ReadString(key.c_str(), "missing"), value) << key;
    ini.SetBytes(c.file);
    WriteSettingsFile(ini, read);
    const IniText saved(ini.Bytes());
    for (const auto& [key, value] : c.saved) EXPECT_EQ(saved.Value("Setting", key), value) << key;
    for (const std::string& bytes : c.kept) EXPECT_NE(ini.Bytes().find(bytes), std::string::npos) << bytes.size();
  }
}

}  // namespace
}  // namespace kmrn
