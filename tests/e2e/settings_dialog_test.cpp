// The settings dialog as the user works it: opened from the menu, filled from the settings,
// typed into, confirmed or cancelled, with what changes at once; and the folder browser behind
// its "参照".

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>

#include "driver.h"
#include "input.h"
#include "notification_area.h"
#include "settings/settings_dialog_layout.h"

namespace e2e {
namespace {

using kmrn::SettingControl;
using enum kmrn::SettingControl;

HWND Item(HWND dialog, SettingControl control) { return GetDlgItem(dialog, kmrn::Id(control)); }

std::string TextOf(HWND dialog, SettingControl control) {
  // Asked by message: GetWindowText on another process's control returns only its caption.
  wchar_t text[512] = {};
  SendMessageW(Item(dialog, control), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return Narrow(text);
}

// A control's rectangle in the dialog's client area.
RECT InClient(HWND dialog, SettingControl control) {
  RECT r = WindowRectOf(Item(dialog, control));
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Replaces what an edit holds by typing, as the user does.
void TypeInto(HWND dialog, SettingControl edit, const std::wstring& text) {
  const POINT at = CentreOf(Item(dialog, edit));
  Click(at.x, at.y);
  SendMessageW(Item(dialog, edit), EM_SETSEL, 0, -1);
  TypeText(text);
}

void ClickOn(HWND dialog, SettingControl control) {
  const POINT at = CentreOf(Item(dialog, control));
  Click(at.x, at.y);
  Settle();
}

// Chooses a page by its position, with the arrow keys on the page control.
void ShowPage(HWND dialog, int page) {
  const RECT tabs = WindowRectOf(Item(dialog, PageTabs));
  Click(tabs.left + 20, tabs.top + 10);
  for (int i = 0; i < page; ++i) PressKey(VK_RIGHT);
  Settle(200);
}

std::map<std::string, std::string> SettingValues(const Sandbox& sandbox) {
  const auto keys = IniSection(sandbox.ReadIni(), "Setting");
  return {keys.begin(), keys.end()};
}

TEST(SettingsDialog, ShowsTheSettingsTakesOnlyWhatEachEditAllowsAndStoresOnOk) {
  Sandbox sandbox;
  sandbox.WriteIni(
      "[Setting]\r\nUseHotKey=0\r\nLeft=40\r\nTop=40\r\nCaptureWait=250\r\nAlwaysWinMagnet=1\r\n"
      "JpgQuality=70\r\n");
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main && WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  HWND dialog = OpenSettingsDialog(program, main);
  ASSERT_TRUE(dialog);

  wchar_t caption[64] = {};
  GetWindowTextW(dialog, caption, 64);
  EXPECT_EQ(Narrow(caption), "設定");
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(IsWindowEnabled(main)) << "modal";
  RECT client{};
  GetClientRect(dialog, &client);
  // Laid out at 96 DPI and scaled to the dialog's.
  const int dpi = DpiFor(dialog);
  EXPECT_EQ(client.right, AtDpi(386, dpi));
  EXPECT_EQ(client.bottom, AtDpi(438, dpi));
  const RECT ok = InClient(dialog, OkButton), pages = InClient(dialog, PageTabs);
  EXPECT_EQ(ok.left, AtDpi(224, dpi));
  EXPECT_EQ(ok.top, AtDpi(408, dpi));
  EXPECT_EQ(ok.right, AtDpi(224 + 75, dpi));
  EXPECT_EQ(InClient(dialog, CancelButton).left, AtDpi(304, dpi));
  EXPECT_EQ(pages.left, AtDpi(4, dpi));
  EXPECT_EQ(pages.right, AtDpi(4 + 377, dpi));
  EXPECT_EQ(pages.bottom, AtDpi(4 + 397, dpi));
  EXPECT_TRUE(
      ScaledLength(InClient(dialog, BrowseSaveFolderButton).left - InClient(dialog, SaveFolderEdit).left, 280, dpi));
  EXPECT_TRUE(ScaledLength(InClient(dialog, MinimumHeightEdit).top - InClient(dialog, MinimumWidthEdit).top, 24, dpi));
  EXPECT_EQ(TextOf(dialog, PrintScreenHotKeyCheck), "PrintScreenキーをホットキーとして使用する");
  EXPECT_EQ(TextOf(dialog, CancelButton), "キャンセル");

  // Filled from the settings, with the enabling rules.
  EXPECT_EQ(TextOf(dialog, CaptureWaitEdit), "250");
  EXPECT_EQ(TextOf(dialog, JpegQualityEdit), "70");
  EXPECT_EQ(SendMessageW(Item(dialog, JpegQualitySlider), TBM_GETPOS, 0, 0), 70);
  EXPECT_TRUE(IsWindowEnabled(Item(dialog, MagnetWidthEdit))) << "the magnet is on";
  EXPECT_FALSE(IsWindowEnabled(Item(dialog, SecondaryLeftEdit))) << "dual display is off";
  EXPECT_TRUE(IsWindowVisible(Item(dialog, HideViewersCheck)) && !IsWindowVisible(Item(dialog, MinimumWidthEdit)))
      << "the first page in front";

  // Neither Enter nor Esc closes it.
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  Settle(300);
  EXPECT_TRUE(IsWindowVisible(dialog));

  ShowPage(dialog, 1);
  TypeInto(dialog, MinimumWidthEdit, L"a-7");
  EXPECT_EQ(TextOf(dialog, MinimumWidthEdit), "7") << "digits only";
  ClickOn(dialog, DualDisplayCheck);
  EXPECT_TRUE(IsWindowEnabled(Item(dialog, SecondaryLeftEdit)));
  TypeInto(dialog, SecondaryLeftEdit, L"-12");
  EXPECT_EQ(TextOf(dialog, SecondaryLeftEdit), "-12") << "a position may be negative";
  TypeInto(dialog, JpegQualityEdit, L"150");
  PressKey(VK_RETURN);
  EXPECT_EQ(TextOf(dialog, JpegQualityEdit), "70") << "out of range: the track bar's value again";
  TypeInto(dialog, JpegQualityEdit, L"075");
  PressKey(VK_RETURN);
  EXPECT_EQ(TextOf(dialog, JpegQualityEdit), "75");
  EXPECT_EQ(SendMessageW(Item(dialog, JpegQualitySlider), TBM_GETPOS, 0, 0), 75);

  // Dual display on with values that add up to nothing: a warning, and the dialog stays.
  TypeInto(dialog, SecondaryLeftEdit, L"0");
  ClickOn(dialog, OkButton);
  auto box = WaitForMessageBox(program);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "デュアルディスプレイを使用する場合は解像度を設定してください");
  Answer(*box, IDOK);
  EXPECT_TRUE(IsWindowVisible(dialog));
  const std::pair<SettingControl, const wchar_t*> sumZero[] = {
      {PrimaryWidthEdit, L"1024"},   {PrimaryHeightEdit, L"768"},   {SecondaryWidthEdit, L"1024"},
      {SecondaryHeightEdit, L"768"}, {SecondaryLeftEdit, L"-1024"}, {SecondaryTopEdit, L"-2560"}};
  for (const auto& [edit, value] : sumZero) TypeInto(dialog, edit, value);
  ClickOn(dialog, OkButton);
  box = WaitForMessageBox(program);
  ASSERT_TRUE(box) << "the Part's sum-zero example warns too";
  Answer(*box, IDOK);
  ClickOn(dialog, DualDisplayCheck);

  // Cancel stores nothing; the next showing starts afresh.
  const std::string iniBefore = sandbox.ReadIni();
  ClickOn(dialog, CancelButton);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
  EXPECT_EQ(sandbox.ReadIni(), iniBefore) << "nothing written";
  dialog = OpenSettingsDialog(program, main);
  ASSERT_TRUE(dialog);
  ShowPage(dialog, 1);
  EXPECT_EQ(TextOf(dialog, MinimumWidthEdit), "10");
  TypeInto(dialog, CaptureWaitEdit, L"5000");
  ShowPage(dialog, 2);
  TypeInto(dialog, MagnetWidthEdit, L"80");
  ClickOn(dialog, OkButton);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog) && IsWindowEnabled(main); }));
  auto values = SettingValues(sandbox);
  EXPECT_EQ(values["CaptureWait"], "1000");
  EXPECT_EQ(values["MagPos"], "50");
  EXPECT_EQ(values["JpgQuality"], "70") << "the quality edit's 75 was cancelled";
}

TEST(SettingsDialog, TakesEffectAtOnceAndKeepsItsValuesWhenTheFileCannotBeWritten) {
  NotificationArea shell;
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nLeft=40\r\nTop=40\r\n");  // resident, with the hotkeys
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main && WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  HWND callback = FindChild(main, L"TMyCallback", L"");
  ASSERT_TRUE(callback && WaitUntil([&] { return !shell.Calls().empty(); }));
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));

  // From the icon's menu while the window is hidden: no longer resident, no hotkeys.
  HWND dialog = nullptr;
  // The menu takes the keyboard only once it has the foreground, which Wine now and then gives
  // late: asked again.
  for (int attempt = 0; attempt < 3 && !dialog; ++attempt) {
    PostMessageW(callback, 0x465, 1, WM_RBUTTONUP);
    if (!WaitUntil([&] { return FindVisibleWindow(program, L"#32768") != nullptr; }, 3s)) continue;
    Settle(200);
    PressKey('S');
    WaitUntil([&] { return (dialog = FindVisibleWindow(program, L"KMRN_SETTINGS")) != nullptr; }, 3s);
    if (!dialog) PressKey(VK_ESCAPE);
  }
  ASSERT_TRUE(dialog);
  Settle(300);
  ClickOn(dialog, KeepRunningCheck);
  ClickOn(dialog, PrintScreenHotKeyCheck);
  ClickOn(dialog, OkButton);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog) && IsWindowVisible(main); }))
      << "without the icon the window is shown";
  EXPECT_EQ(shell.Calls().back().action, static_cast<DWORD>(NIM_DELETE));
  EXPECT_TRUE(HeldHotKey(0, VK_SNAPSHOT).Held()) << "PrintScreen is free for others";
  PressKey(VK_SNAPSHOT);
  Settle(800);
  EXPECT_FALSE(FindVisibleWindow(program, nullptr, L"FormKN_Serect")) << "PrintScreen no longer captures";
  auto values = SettingValues(sandbox);
  EXPECT_EQ(values["AlwaysNoCloseX"], "0");
  EXPECT_EQ(values["UseHotKey"], "0");

  // A settings file that cannot be written: the error, and the dialog stays with what was typed.
  ASSERT_TRUE(DeleteFileW(sandbox.Ini().c_str()) && CreateDirectoryW(sandbox.Ini().c_str(), nullptr));
  dialog = OpenSettingsDialog(program, main);
  ASSERT_TRUE(dialog);
  ShowPage(dialog, 1);
  TypeInto(dialog, CaptureWaitEdit, L"300");
  ClickOn(dialog, OkButton);
  auto box = WaitForMessageBox(program);
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(Narrow(sandbox.Ini())), std::string::npos) << box->text;
  Answer(*box, IDOK);
  Settle(300);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(TextOf(dialog, CaptureWaitEdit), "300");
  RemoveDirectoryW(sandbox.Ini().c_str());
  ClickOn(dialog, OkButton);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
  EXPECT_EQ(SettingValues(sandbox)["CaptureWait"], "300");
}

TEST(SettingsDialog, OkTurnsTheIconOnAndSavesEverythingWhenPrintScreenCannotBeBound) {
  NotificationArea shell;
  HeldHotKey printScreen(0, VK_SNAPSHOT);
  ASSERT_TRUE(printScreen.Held()) << "the driver holds PrintScreen first";
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nLeft=40\r\nTop=40\r\nAlwaysNoCloseX=0\r\nUseHotKey=0\r\n");
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main && WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  EXPECT_TRUE(shell.Calls().empty());
  HWND dialog = OpenSettingsDialog(program, main);
  ASSERT_TRUE(dialog);
  ClickOn(dialog, KeepRunningCheck);
  ClickOn(dialog, PrintScreenHotKeyCheck);
  ShowPage(dialog, 1);
  TypeInto(dialog, CaptureWaitEdit, L"300");
  ClickOn(dialog, OkButton);

  auto box = WaitForMessageBox(program);
  ASSERT_TRUE(box) << "the key that cannot be bound is not reported";
  EXPECT_EQ(box->text.rfind("ホットキーが登録できません(SnapShot)", 0), 0u) << box->text;
  Answer(*box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
  // Everything else took effect and was saved: the icon, the other key, the wait.
  ASSERT_TRUE(WaitUntil([&] { return !shell.Calls().empty(); }));
  EXPECT_EQ(shell.Calls()[0].action, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(shell.Calls()[0].tip, "Kamerin");
  EXPECT_FALSE(HeldHotKey(MOD_CONTROL, VK_SNAPSHOT).Held()) << "Ctrl+PrintScreen is the program's";
  auto values = SettingValues(sandbox);
  EXPECT_EQ(values["AlwaysNoCloseX"], "1");
  EXPECT_EQ(values["UseHotKey"], "1");
  EXPECT_EQ(values["CaptureWait"], "300");
}

// Chooses from the notification-area icon's menu by an accelerator key; false when the menu did
// not open. The menu takes the keyboard once it has the foreground, which Wine now and then gives
// late: it is asked for again.
bool ChooseFromIconMenu(const Process& program, HWND callback, WORD key) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    PostMessageW(callback, 0x465, 1, WM_RBUTTONUP);
    HWND menu = nullptr;
    if (!WaitUntil([&] { return (menu = FindVisibleWindow(program, L"#32768")) != nullptr; }, 3s)) continue;
    Settle(200);
    PressKey(key);
    if (WaitUntil([&] { return !IsWindowVisible(menu); }, 2s)) {
      Settle(300);
      return true;
    }
    PressKey(VK_ESCAPE);
  }
  return false;
}

TEST(SettingsDialog, OnlyOneOpensAndTheEndFromTheIconClosesItAndWhatItHasOpenFirst) {
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nLeft=40\r\nTop=40\r\nSaveFile=" + ToAnsi(sandbox.FolderUtf8()) +
                   "\r\nbmp=1\r\nwin=0\r\n");  // resident, with the hotkeys
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main && WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  HWND callback = FindChild(main, L"TMyCallback", L"");
  ASSERT_TRUE(callback);
  HWND dialog = OpenSettingsDialog(program, main);
  ASSERT_TRUE(dialog);
  ShowPage(dialog, 1);
  TypeInto(dialog, CaptureWaitEdit, L"300");

  // Asked for again from the icon: the open dialog comes to the front, with what was typed.
  SetForegroundWindow(main);
  ASSERT_TRUE(ChooseFromIconMenu(program, callback, 'S'));
  EXPECT_EQ(WindowsOfProcess(program, L"KMRN_SETTINGS").size(), 1u);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 3s));
  EXPECT_EQ(TextOf(dialog, CaptureWaitEdit), "300") << "the form was not filled again";

  // With the folder browser open over it, the browser comes to the front.
  ShowPage(dialog, 0);
  ClickOn(dialog, BrowseSaveFolderButton);
  HWND browser = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (browser = FindVisibleWindow(program, L"#32770")) != nullptr; }, 5s));
  Settle(300);
  SetForegroundWindow(main);
  ASSERT_TRUE(ChooseFromIconMenu(program, callback, 'S'));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == browser; }, 3s));
  EXPECT_EQ(WindowsOfProcess(program, L"#32770").size(), 1u) << "no second browser";

  // PrintScreen meanwhile does nothing.
  PressKey(VK_SNAPSHOT);
  Settle(800);
  EXPECT_FALSE(FindVisibleWindow(program, nullptr, L"FormKN_Serect"));
  EXPECT_TRUE(IsWindowVisible(browser));

  // The end from the icon: the browser and the dialog close as by キャンセル, the settings are
  // saved as they were, the program ends.
  ASSERT_TRUE(ChooseFromIconMenu(program, callback, 'E'));
  EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
  auto values = SettingValues(sandbox);
  EXPECT_EQ(values["CaptureWait"], "100") << "what was typed is not stored";
  EXPECT_EQ(values.size(), 49u);
}

TEST(FolderBrowser, OpensAtTheSaveFolderReturnsItOnOkNothingOnCancelAndReopensWhereItWasLeft) {
  // At the top of drive C: Wine's browse dialog cannot select a folder on its Z: drive (the
  // host's whole file system) nor one inside the user's profile.
  const std::wstring folder = L"C:\\Kamerin browse test";
  CreateDirectoryW(folder.c_str(), nullptr);
  struct Remove {
    std::wstring path;
    ~Remove() { RemoveDirectoryW(path.c_str()); }
  } remove{folder};
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nUseHotKey=0\r\nLeft=40\r\nTop=40\r\nSaveFile=" + ToAnsi(Narrow(folder)) + "\r\n");
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main && WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  HWND dialog = OpenSettingsDialog(program, main);
  ASSERT_TRUE(dialog);
  auto openBrowser = [&] {
    ClickOn(dialog, BrowseSaveFolderButton);
    HWND browser = nullptr;
    WaitUntil([&] { return (browser = FindVisibleWindow(program, L"#32770")) != nullptr; }, 5s);
    Settle(500);
    return browser;
  };
  auto press = [&](HWND browser, int button) {
    const POINT at = CentreOf(GetDlgItem(browser, button));
    Click(at.x, at.y);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(browser) || !IsWindowVisible(browser); }));
    Settle(300);
  };

  // The edit shows something else: OK must put the chosen folder there.
  SendMessageW(Item(dialog, SaveFolderEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\"));
  HWND browser = openBrowser();
  ASSERT_TRUE(browser);
  const RECT first = WindowRectOf(browser);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR((first.left + first.right) / 2, screenWidth / 2, 1) << "centred the first time";
  EXPECT_NEAR((first.top + first.bottom) / 2, screenHeight / 2, 1);
  const RECT tree = WindowRectOf(GetDlgItem(browser, 14145));
  const RECT firstCancel = WindowRectOf(GetDlgItem(browser, IDCANCEL));
  EXPECT_LT(tree.bottom, firstCancel.top) << "the tree above the buttons";
  // Moved and made larger by the user, then left with OK at once: the folder it opened at.
  const RECT moved{100, 80, 100 + SizeOf(first).cx + 60, 80 + SizeOf(first).cy + 40};
  SetWindowPos(browser, nullptr, moved.left, moved.top, SizeOf(moved).cx, SizeOf(moved).cy, SWP_NOZORDER);
  Settle(300);
  press(browser, IDOK);
  EXPECT_EQ(TextOf(dialog, SaveFolderEdit), Narrow(folder));

  SendMessageW(Item(dialog, SaveFolderEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\"));
  browser = openBrowser();
  ASSERT_TRUE(browser);
  const RECT again = WindowRectOf(browser);
  EXPECT_EQ(again.left, moved.left);
  EXPECT_EQ(again.top, moved.top);
  EXPECT_EQ(SizeOf(again).cx, SizeOf(moved).cx);
  EXPECT_EQ(SizeOf(again).cy, SizeOf(moved).cy);
  const RECT cancelAgain = WindowRectOf(GetDlgItem(browser, IDCANCEL));
  EXPECT_EQ(again.right - cancelAgain.right, first.right - firstCancel.right) << "the buttons keep to the corner";
  EXPECT_EQ(again.bottom - cancelAgain.bottom, first.bottom - firstCancel.bottom);
  press(browser, IDOK);
  EXPECT_EQ(TextOf(dialog, SaveFolderEdit), Narrow(folder)) << "opened at the stored folder, not at the edit's";

  SendMessageW(Item(dialog, SaveFolderEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\"));
  browser = openBrowser();
  ASSERT_TRUE(browser);
  press(browser, IDCANCEL);
  EXPECT_EQ(TextOf(dialog, SaveFolderEdit), "C:\\") << "Cancel changes nothing";

  // A folder of the shell's own has no path: OK (which the dialog greys for it, but which may
  // come all the same) leaves the save folder alone and says why.
  browser = openBrowser();
  ASSERT_TRUE(browser);
  HWND folders = GetDlgItem(browser, 14145), ok = GetDlgItem(browser, IDOK);
  PostMessageW(folders, WM_KEYDOWN, VK_HOME, 0);
  Settle(200);
  for (int step = 0; step < 12 && IsWindowEnabled(ok); ++step) {
    PostMessageW(folders, WM_KEYDOWN, VK_DOWN, 0);
    Settle(200);
  }
  ASSERT_FALSE(IsWindowEnabled(ok)) << "no folder without a path in the tree";
  PostMessageW(browser, WM_COMMAND, IDOK, 0);
  auto box = WaitForMessageBox(program);
  ASSERT_TRUE(box) << "the choice is not reported";
  EXPECT_EQ(box->caption, "Kamerin");
  EXPECT_NE(box->text.find("」は画像を保存するフォルダにできません。\r\n別のフォルダを選択して下さい。"),
            std::string::npos)
      << box->text;
  Answer(*box, IDOK);
  EXPECT_EQ(TextOf(dialog, SaveFolderEdit), "C:\\");
  ClickOn(dialog, OkButton);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
  EXPECT_EQ(SettingValues(sandbox)["SaveFile"], "C:\\");
}

}  // namespace
}  // namespace e2e
