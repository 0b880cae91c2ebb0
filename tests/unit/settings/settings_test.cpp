#include "settings/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kmrn {
namespace {

// An INI section in memory: what the profile functions would return and what they were given.
class FakeProfile final : public ProfileReader, public ProfileWriter {
 public:
  std::map<std::string, std::string> values;
  std::vector<std::pair<std::string, std::string>> written;
  std::string refuseKey;

  std::string ReadString(const char* key, const std::string& fallback) override {
    auto found = values.find(key);
    return found == values.end() ? fallback : found->second;
  }
  void WriteString(const char* key, const std::string& value) override {
    if (key == refuseKey) throw std::runtime_error("refused");
    written.emplace_back(key, value);
  }
};

TEST(SettingsTable, HasTheFortyFourKeysInFileOrder) {
  std::vector<std::string> keys;
  for (const SettingKey& key : SettingKeys()) keys.push_back(key.key);
  const std::vector<std::string> expected{"Left",
                                          "Top",
                                          "SaveFile",
                                          "bmp",
                                          "jpg",
                                          "win",
                                          "range",
                                          "AlwaysHideView",
                                          "AlwaysClipBoard",
                                          "AlwaysWinClient",
                                          "AlwaysNoCloseX",
                                          "CapturedWinPos",
                                          "UseHotKey",
                                          "WindowTopMost",
                                          "OpenApplication",
                                          "OpenApplicationStr",
                                          "minCaptureWidth",
                                          "minCaptureHeight",
                                          "ViewWinBorder",
                                          "ViewWinColor",
                                          "JpgQuality",
                                          "JpgProgressive",
                                          "CaptureWait",
                                          "ViewWinAlphaClose",
                                          "ViewWinWheelClose",
                                          "ViewWinWheelStretch",
                                          "AlwaysWinMagnet",
                                          "MagPos",
                                          "CloseAfterCapture",
                                          "TaskWheelToRange",
                                          "AutoCloseBmp",
                                          "AutoCloseJpg",
                                          "AutoCloseCopy",
                                          "AutoClosePaint",
                                          "mDisplay_Enable",
                                          "mDisplay_PW",
                                          "mDisplay_PH",
                                          "mDisplay_SW",
                                          "mDisplay_SH",
                                          "mDisplay_SX",
                                          "mDisplay_SY",
                                          "SavePng",
                                          "AutoClosePng",
                                          "Magnifier",
                                          "CaptureCursor",
                                          "ClipboardViewHotKey",
                                          "ClosedViewersKept",
                                          "AllMonitors",
                                          "MainWindowVisible"};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(SettingKeys()[2].Type(), SettingType::String);
  EXPECT_EQ(SettingKeys()[3].Type(), SettingType::Boolean);
  EXPECT_EQ(SettingKeys()[19].Type(), SettingType::Integer);
}

TEST(SettingsFile, EmptyFileGivesEveryDefaultAndWritesThemInOrder) {
  FakeProfile profile;
  SettingsFile file = ReadSettingsFile(profile, "C:\\Tools\\Kamerin");
  EXPECT_EQ(file.settings.SaveFile, "C:\\Tools\\Kamerin");
  EXPECT_EQ(file.settings.OpenApplicationStr, "ペイントで開く(&P)");

  WriteSettingsFile(profile, file);
  const std::vector<std::pair<std::string, std::string>> expected{{"Left", "0"},
                                                                  {"Top", "0"},
                                                                  {"SaveFile", "C:\\Tools\\Kamerin"},
                                                                  {"bmp", "0"},
                                                                  {"jpg", "0"},
                                                                  {"win", "1"},
                                                                  {"range", "1"},
                                                                  {"AlwaysHideView", "1"},
                                                                  {"AlwaysClipBoard", "0"},
                                                                  {"AlwaysWinClient", "0"},
                                                                  {"AlwaysNoCloseX", "1"},
                                                                  {"CapturedWinPos", "2"},
                                                                  {"UseHotKey", "1"},
                                                                  {"WindowTopMost", "1"},
                                                                  {"OpenApplication", "mspaint.exe"},
                                                                  {"OpenApplicationStr", "ペイントで開く(&P)"},
                                                                  {"minCaptureWidth", "10"},
                                                                  {"minCaptureHeight", "10"},
                                                                  {"ViewWinBorder", "2"},
                                                                  {"ViewWinColor", "16744576"},
                                                                  {"JpgQuality", "90"},
                                                                  {"JpgProgressive", "0"},
                                                                  {"CaptureWait", "100"},
                                                                  {"ViewWinAlphaClose", "0"},
                                                                  {"ViewWinWheelClose", "0"},
                                                                  {"ViewWinWheelStretch", "0"},
                                                                  {"AlwaysWinMagnet", "0"},
                                                                  {"MagPos", "20"},
                                                                  {"CloseAfterCapture", "0"},
                                                                  {"TaskWheelToRange", "0"},
                                                                  {"AutoCloseBmp", "0"},
                                                                  {"AutoCloseJpg", "0"},
                                                                  {"AutoCloseCopy", "0"},
                                                                  {"AutoClosePaint", "0"},
                                                                  {"mDisplay_Enable", "0"},
                                                                  {"mDisplay_PW", "0"},
                                                                  {"mDisplay_PH", "0"},
                                                                  {"mDisplay_SW", "0"},
                                                                  {"mDisplay_SH", "0"},
                                                                  {"mDisplay_SX", "0"},
                                                                  {"mDisplay_SY", "0"},
                                                                  {"SavePng", "0"},
                                                                  {"AutoClosePng", "0"},
                                                                  {"Magnifier", "0"},
                                                                  {"CaptureCursor", "0"},
                                                                  {"ClipboardViewHotKey", ""},
                                                                  {"ClosedViewersKept", "10"},
                                                                  {"AllMonitors", "1"},
                                                                  {"MainWindowVisible", "1"}};
  EXPECT_EQ(profile.written, expected);
}

TEST(SettingsFile, ValuesAreReadAsTheirTypesSayAndWrittenBackNormalised) {
  FakeProfile profile;
  profile.values = {{"bmp", "yes"},   {"win", "2"},           {"JpgQuality", "0x50"},   {"ViewWinColor", "0xFF0000"},
                    {"SaveFile", ""}, {"Left", "-300"},       {"CapturedWinPos", "7"},  {"MagPos", "500"},
                    {"range", "0"},   {"WindowTopMost", "0"}, {"mDisplay_SX", "-1920"}, {"AlwaysNoCloseX", "abc"}};
  SettingsFile file = ReadSettingsFile(profile, "C:\\app");
  EXPECT_FALSE(file.window.bmp);  // unreadable: the default
  EXPECT_TRUE(file.window.win);
  EXPECT_EQ(file.settings.JpgQuality, 80);
  EXPECT_EQ(file.settings.ViewWinColor, 16711680);
  EXPECT_EQ(file.settings.SaveFile, "");  // present but empty is not missing
  EXPECT_EQ(file.window.Left, -300);
  EXPECT_EQ(file.settings.CapturedWinPos, 2) << "a choice that names no item reads as the default";
  EXPECT_EQ(file.settings.MagPos, 500) << "other values keep what the file says";
  EXPECT_FALSE(file.window.range);
  EXPECT_FALSE(file.window.WindowTopMost);
  EXPECT_EQ(file.settings.mDisplay_SX, -1920);
  EXPECT_TRUE(file.settings.AlwaysNoCloseX);

  FakeProfile out;
  WriteSettingsFile(out, file);
  std::map<std::string, std::string> written(out.written.begin(), out.written.end());
  EXPECT_EQ(written["win"], "1");
  EXPECT_EQ(written["ViewWinColor"], "16711680");
  EXPECT_EQ(written["JpgQuality"], "80");
  EXPECT_EQ(written["SaveFile"], "");
}

TEST(SettingsFile, ARefusedWriteStopsAtThatKey) {
  FakeProfile profile;
  profile.refuseKey = "bmp";
  EXPECT_THROW(WriteSettingsFile(profile, SettingsFile{}), std::runtime_error);
  ASSERT_EQ(profile.written.size(), 3u);
  EXPECT_EQ(profile.written.back().first, "SaveFile");
}

struct IntegerCase {
  const char* text;
  std::int32_t expected;
};

TEST(ParseIniInteger, AcceptsDecimalAndHexAndFallsBackOnAnythingElse) {
  const IntegerCase cases[] = {
      {"0", 0},
      {"42", 42},
      {"-42", -42},
      {"+7", 7},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", -1},
      {"0x50", 80},
      {"0X1f", 31},
      {"0xFFFFFFFF", -1},
      {"0x123456789", -1},
      {"0x000000050", 80},  // leading zeros do not count towards the 8 digits
      {"0x00000000FFFFFFFE", -2},
      {"0x0000", 0},
      {"0x", -1},
      {"0xG1", -1},
      {"", -1},
      {"yes", -1},
      {"12abc", -1},
      {"1.5", -1},
      {"+-5", -1},
      {"-", -1},
      {"0x-1", -1},
  };
  for (const IntegerCase& c : cases) {
    EXPECT_EQ(ParseIniInteger(c.text, -1), c.expected) << '"' << c.text << '"';
  }
}

TEST(PullBackOntoScreen, OnlyFromTheRightAndBelow) {
  const ScreenRect screen{0, 0, 1920, 1080};
  EXPECT_EQ(PullBackOntoScreen({5000, 100}, 308, 64, screen), (Position{1920 - 308, 100}));
  EXPECT_EQ(PullBackOntoScreen({100, 3000}, 308, 64, screen), (Position{100, 1080 - 64}));
  EXPECT_EQ(PullBackOntoScreen({-300, -50}, 308, 64, screen), (Position{-300, -50}));
  EXPECT_EQ(PullBackOntoScreen({1920, 1080}, 308, 64, screen), (Position{1920, 1080}));  // on the edge: stays
}

// Three monitors: one left of the primary, lower and with a taskbar of its own, one above it.
const MonitorLayout kThreeMonitors{
    {{-1280, 100, 0, 1124}, {-1280, 100, 0, 1084}, 96},
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96},
    {{0, -1024, 1280, 0}, {0, -1024, 1280, 0}, 96},
};
const ScreenRect kPrimaryWork{0, 0, 1920, 1040};

TEST(RestoredMainWindowPosition, StaysOnAnyMonitorAndComesBackFromOneThatHasGone) {
  const PixelSize size{308, 64};
  const ScreenRect primary{0, 0, 1920, 1080};
  Settings all;
  const struct {
    const char* name;
    Position saved, expected;
  } kCases[] = {
      {"on the left monitor", {-1000, 500}, {-1000, 500}},
      {"partly above the monitor above", {1000, -1050}, {1000, -1050}},
      {"touching the primary's far corner", {1920, 1080}, {1920, 1080}},
      {"left of every monitor", {-5000, 500}, {-1280, 500}},
      {"right of the primary", {5000, 100}, {1612, 100}},
      {"below the left monitor", {-1000, 3000}, {-1000, 1060}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RestoredMainWindowPosition(all, c.saved, size, primary, kThreeMonitors), c.expected);
  }
  // Dual display: where it was saved. Without AllMonitors: pulled back onto the primary screen only.
  Settings dual;
  dual.mDisplay_Enable = true;
  EXPECT_EQ(RestoredMainWindowPosition(dual, {-5000, 5000}, size, primary, kThreeMonitors), (Position{-5000, 5000}));
  Settings off;
  off.AllMonitors = false;
  EXPECT_EQ(RestoredMainWindowPosition(off, {-5000, 5000}, size, primary, kThreeMonitors), (Position{-5000, 1016}));
}

// With AllMonitors on, a window snaps to the lines of the monitor it is on and to no other
// monitor's; on a left monitor the primary's zero lines do not pull.
TEST(MagnetLinesFor, TheLinesOfTheMonitorTheWindowIsOn) {
  Settings all;
  all.MagPos = 20;
  const auto viewer = [&](const Settings& s, Position at, PixelSize size) {
    const ScreenRect moving{at.left, at.top, at.left + size.width, at.top + size.height};
    return SnapViewer(at, size, MagnetLinesFor(s, kPrimaryWork, kThreeMonitors, moving), {});
  };
  EXPECT_EQ(viewer(all, {-1270, 110}, {400, 100}), (Position{-1280, 100})) << "the left monitor's left and top";
  EXPECT_EQ(viewer(all, {-410, 975}, {400, 100}), (Position{-400, 984})) << "its work area's far edges";
  EXPECT_EQ(viewer(all, {-15, 10}, {10, 100}), (Position{-10, 10})) << "not x = 0 or y = 0 of the primary";
  EXPECT_EQ(viewer(all, {5, 955}, {400, 100}), (Position{0, 940})) << "on the primary, its own lines";
  const ScreenRect onLeft{-1270, 110, -870, 210};
  EXPECT_EQ(SnapMainWindow({-1270, 110}, {400, 100}, MagnetLinesFor(all, kPrimaryWork, kThreeMonitors, onLeft)),
            (Position{-1280, 100}));

  // Dual display, or AllMonitors off: the zero lines and the main window's work area, as before.
  Settings dual = all;
  dual.mDisplay_Enable = true;
  dual.mDisplay_SX = -1280;
  EXPECT_EQ(viewer(dual, {-1270, 110}, {400, 100}), (Position{-1280, 110}));
  EXPECT_EQ(viewer(dual, {-15, 10}, {10, 100}), (Position{0, 0}));
  Settings off = all;
  off.AllMonitors = false;
  EXPECT_EQ(viewer(off, {-1270, 110}, {400, 100}), (Position{-1270, 110}));
  EXPECT_EQ(viewer(off, {-410, 975}, {400, 100}), (Position{-410, 975}));

  // One monitor at (0, 0): the very lines it had before.
  const MonitorLayout single{{{0, 0, 1920, 1080}, kPrimaryWork, 96}};
  for (const ScreenRect& moving : {ScreenRect{5, 5, 405, 105}, ScreenRect{-300, 1000, 100, 1100}}) {
    const MagnetLines now = MagnetLinesFor(all, kPrimaryWork, single, moving);
    const MagnetLines before = MagnetLinesFor(off, kPrimaryWork, {}, moving);
    EXPECT_EQ(now.workArea, before.workArea);
    EXPECT_EQ(now.nearLines, before.nearLines);
    EXPECT_EQ(now.secondaryX, before.secondaryX);
    EXPECT_EQ(now.distance, before.distance);
  }
}

TEST(IniPathForExecutable, ReplacesOrAddsTheExtension) {
  EXPECT_EQ(IniPathForExecutable("C:\\Tools\\Kamerin.exe"), "C:\\Tools\\Kamerin.ini");
  EXPECT_EQ(IniPathForExecutable("C:\\My.Tools\\Kamerin"), "C:\\My.Tools\\Kamerin.ini");
  EXPECT_EQ(IniPathForExecutable("C:\\Tools\\Kamerin.v2.exe"), "C:\\Tools\\Kamerin.v2.ini");
  EXPECT_EQ(FolderOfPath("C:\\Tools\\Kamerin.exe"), "C:\\Tools");
}

}  // namespace
}  // namespace kmrn
