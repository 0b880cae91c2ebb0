// The settings file as the real program reads and writes it through the platform's profile
// functions: other content survives, values come back normalised, a refused write is reported.

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "driver.h"
#include "input.h"
#include "settings/settings_dialog_layout.h"

namespace e2e {
namespace {

using namespace std::string_literals;
using Keys = std::vector<std::pair<std::string, std::string>>;

const std::vector<std::string> KeyOrder{"Left",
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

// Starts the program on this INI text, closes it with the close box, and returns the file.
std::string RoundTrip(const Sandbox& sandbox, const std::string& ini, RECT* mainRect = nullptr) {
  sandbox.WriteIni(ini);
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  EXPECT_TRUE(main);
  if (!main) return {};
  // Measured once the program has finished its start (the window is shown at its end).
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  if (mainRect) GetWindowRect(main, mainRect);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
  return sandbox.ReadIni();
}

std::vector<std::string> KeyNames(const Keys& keys) {
  std::vector<std::string> names;
  for (const auto& [key, value] : keys) names.push_back(key);
  return names;
}

TEST(SettingsFile, TheFirstSaveAddsEveryMissingKeyInTableOrderWithItsDefault) {
  Sandbox sandbox;
  Keys keys = IniSection(RoundTrip(sandbox, "[Setting]\r\nAlwaysNoCloseX=0\r\n"), "Setting");

  std::vector<std::string> expectedOrder{"AlwaysNoCloseX"};
  for (const std::string& key : KeyOrder) {
    if (key != "AlwaysNoCloseX") expectedOrder.push_back(key);
  }
  EXPECT_EQ(KeyNames(keys), expectedOrder);
  std::map<std::string, std::string> values(keys.begin(), keys.end());
  EXPECT_EQ(values["SaveFile"], ToAnsi(sandbox.FolderUtf8()));
  EXPECT_EQ(values["ViewWinColor"], "16744576");
  EXPECT_EQ(values["OpenApplication"], "mspaint.exe");
  EXPECT_EQ(values["OpenApplicationStr"], ToAnsi("ペイントで開く(&P)"));
  EXPECT_EQ(values["win"], "1");
  EXPECT_EQ(values["CaptureWait"], "100");
  EXPECT_EQ(values["MainWindowVisible"], "1");
}

TEST(SettingsFile, ForeignContentSurvivesAndValuesComeBackNormalised) {
  Sandbox sandbox;
  const std::string longValue(3000, 'a');
  // Bytes that are no text of the code page (an unassigned double-byte pair, a lone lead byte)
  // between ones that are: the program does not change the value, so they go back as they came.
  const std::string oddBytes = ToAnsi("ペイント") + "\x85\x40" + ToAnsi("で") + "\x81";
  const std::string ini =
      "; written by hand\r\n"
      "[Other]\r\nfoo=bar\r\n\r\n"
      "[Setting]\r\n"
      "; my settings\r\n"
      "win=2\r\nAlwaysNoCloseX=0\r\nbmp=yes\r\nJpgQuality=0x000000050\r\nViewWinColor=0xFF0000\r\n"
      "OpenApplicationStr=" +
      oddBytes +
      "\r\n"
      "OpenApplication=" +
      longValue +
      "\r\n"
      "MagPos=500\r\nCapturedWinPos=7\r\nTop=10\r\n\r\n"
      "[Tail]\r\nk=v\r\n";
  std::string saved = RoundTrip(sandbox, ini);

  EXPECT_NE(saved.find("; written by hand"), std::string::npos);
  EXPECT_NE(saved.find("; my settings"), std::string::npos);
  EXPECT_EQ(IniSection(saved, "Other"), (Keys{{"foo", "bar"}}));
  EXPECT_EQ(IniSection(saved, "Tail"), (Keys{{"k", "v"}}));

  Keys keys = IniSection(saved, "Setting");
  ASSERT_EQ(keys.size(), 49u);
  const std::vector<std::string> handWritten{
      "win",    "AlwaysNoCloseX", "bmp", "JpgQuality", "ViewWinColor", "OpenApplicationStr", "OpenApplication",
      "MagPos", "CapturedWinPos", "Top"};
  std::vector<std::string> names = KeyNames(keys);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 10), handWritten)
      << "existing keys are rewritten in place";
  std::map<std::string, std::string> values(keys.begin(), keys.end());
  EXPECT_EQ(values["win"], "1");
  EXPECT_EQ(values["bmp"], "0");
  EXPECT_EQ(values["JpgQuality"], "80") << "leading zeros of a hexadecimal value";
  EXPECT_EQ(values["OpenApplicationStr"], oddBytes);
  EXPECT_EQ(values["ViewWinColor"], "16711680");
  EXPECT_EQ(values["OpenApplication"], longValue) << "the program sees 2047 bytes of it, but changed none";
  EXPECT_EQ(values["MagPos"], "500");
  EXPECT_EQ(values["CapturedWinPos"], "2") << "a place that is none of the three reads as the default";
  EXPECT_EQ(values["Top"], "10");
}

TEST(SettingsFile, AWindowBeyondThePrimaryScreenIsPulledBackOnlyWithOneDisplay) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  struct Case {
    const char* left;
    const char* multiDisplay;
    bool pulledBack;
    const char* expectedLeft;
  };
  for (const Case& c :
       {Case{"5000", "0", true, nullptr}, Case{"-300", "0", false, "-300"}, Case{"5000", "1", false, "5000"}}) {
    SCOPED_TRACE(std::string(c.left) + " mDisplay_Enable=" + c.multiDisplay);
    Sandbox sandbox;
    RECT rect{};
    std::string saved = RoundTrip(sandbox,
                                  std::string("[Setting]\r\nAlwaysNoCloseX=0\r\nLeft=") + c.left +
                                      "\r\nTop=20\r\nmDisplay_Enable=" + c.multiDisplay + "\r\n",
                                  &rect);
    std::map<std::string, std::string> values;
    for (const auto& [key, value] : IniSection(saved, "Setting")) values[key] = value;
    std::string expected = c.pulledBack ? std::to_string(screenWidth - SizeOf(rect).cx) : c.expectedLeft;
    EXPECT_EQ(values["Left"], expected);
    EXPECT_EQ(values["Top"], "20");
  }
}

// A settings file the program cannot write: a folder in its place, or a read-only file of hostile
// bytes (empty values, duplicates, NUL, CR and code-page bytes, a 100 KB line). The program starts
// on what it can use; every save, by the settings dialog's OK or by Exit, says what it cannot
// write and changes nothing; once the file can be written, Exit saves and ends, and nothing else
// of the file is lost.
TEST(SettingsFile, AFileThatCannotBeWrittenIsReportedAtEachSaveAndLosesNothing) {
  const std::string other = "[Other]\r\n; " + std::string(100 * 1024, 'x') + "\r\n\xFF\x81k\0=\x81\r\n"s;
  const std::string paintBytes = ToAnsi("ペイント") + "\0\xFF"s;
  std::string hostile = other + "[Setting]\r\n";
  const std::map<std::string, std::string> given{
      {"Top", "40"}, {"OpenApplicationStr", paintBytes}, {"OpenApplication", "a.exe\rb"}};
  for (const std::string& key : KeyOrder) hostile += key + "=" + (given.contains(key) ? given.at(key) : "") + "\r\n";
  hostile += "top=300\r\n\r\n[Setting]\r\nLeft=500\r\n";
  for (const bool folder : {true, false}) {
    SCOPED_TRACE(folder ? "a folder" : "a read-only file");
    Sandbox sandbox;
    std::optional<ReadOnlyFile> readOnly;
    if (folder) {
      ASSERT_TRUE(CreateDirectoryW(sandbox.Ini().c_str(), nullptr));
    } else {
      sandbox.WriteIni(hostile);
      readOnly.emplace(sandbox.Ini());
    }
    Process program = sandbox.Start();
    HWND main = WaitForMainWindow(program);
    ASSERT_TRUE(main);
    if (!folder) {  // the empty save folder
      auto box = WaitForMessageBox(program);
      ASSERT_TRUE(box);
      EXPECT_NE(box->text.find("が見つかりませんでした"), std::string::npos) << box->text;
      Answer(*box, IDOK);
    }
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; }));
    EXPECT_EQ(WindowRectOf(main).top, folder ? 0 : 40) << "the first of two keys";
    HWND dialog = OpenSettingsDialog(program, main);
    ASSERT_TRUE(dialog);
    wchar_t paint[64] = {};
    SendMessageW(GetDlgItem(dialog, kmrn::Id(kmrn::SettingControl::AutoCloseEditorCheck)), WM_GETTEXT, 64,
                 reinterpret_cast<LPARAM>(paint));
    EXPECT_EQ(Narrow(paint), folder ? "ペイントで開く(&P)" : "ペイント") << "up to the NUL byte";

    for (const bool exit : {false, true}) {
      if (exit) {
        ChooseFromMainMenu(main, 'E');
      } else {
        PostMessageW(GetDlgItem(dialog, kmrn::Id(kmrn::SettingControl::OkButton)), BM_CLICK, 0, 0);
      }
      auto box = WaitForMessageBox(program);
      ASSERT_TRUE(box) << (exit ? "Exit" : "OK");
      EXPECT_EQ(box->caption, "Kamerin");
      EXPECT_EQ(box->text.rfind(Narrow(sandbox.Ini()) + " に書き込めません\r\n", 0), 0u) << box->text;
      EXPECT_NE(box->text.find("が失敗しました: "), std::string::npos) << "the system's reason: " << box->text;
      EXPECT_NE(box->text.find("(エラー 5)"), std::string::npos) << "access denied: " << box->text;
      Answer(*box, IDOK);
      Settle(300);
      EXPECT_TRUE(exit ? program.Running() : IsWindowVisible(dialog) != 0) << "the save stops what called it";
      if (!exit) PostMessageW(GetDlgItem(dialog, kmrn::Id(kmrn::SettingControl::CancelButton)), BM_CLICK, 0, 0);
      ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != 0; }));
    }
    EXPECT_EQ(GetFileAttributesW(sandbox.Ini().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              folder ? FILE_ATTRIBUTE_DIRECTORY : 0);
    EXPECT_EQ(sandbox.ReadIni(), folder ? "" : hostile);

    // Once the way is free, Exit works as ever.
    if (folder) RemoveDirectoryW(sandbox.Ini().c_str());
    readOnly.reset();
    ChooseFromMainMenu(main, 'E');
    ASSERT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
    const std::string saved = sandbox.ReadIni();
    EXPECT_EQ(IniSection(saved, "Setting").size(), folder ? 49u : 51u);
    if (folder) continue;
    for (const std::string& kept :
         {other, "OpenApplicationStr=" + paintBytes + "\r\n", "\r\nTop=40\r\n"s, "\nOpenApplication=a.exe\rb\r\n"s,
          "top=300\r\n\r\n[Setting]\r\nLeft=500\r\n"s, "[Setting]\r\nLeft=0\r\n"s}) {
      EXPECT_NE(saved.find(kept), std::string::npos) << kept.substr(0, 40);
    }
  }
}

}  // namespace
}  // namespace e2e
