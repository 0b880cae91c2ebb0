// The program as a resident tool: PrintScreen and Ctrl+PrintScreen from whatever program has the
// focus, a key that another program holds already, and the notification-area icon that brings the
// hidden program back, offers its menu and starts a range capture.

#include <windows.h>

#include <commctrl.h>

#include <regex>

#include <gtest/gtest.h>

#include "driver.h"
#include "input.h"
#include "notification_area.h"
#include "pictures.h"
#include "settings/settings_dialog_layout.h"
#include "viewer_fixture.h"

namespace e2e {
namespace {

constexpr RECT TargetBounds{600, 300, 1000, 600};
constexpr const wchar_t* OverlayCaption = L"FormKN_Serect";

// Captures go to BMP files in the sandbox; the hotkeys are on, as they are by default.
std::string HotKeyIni(const Sandbox& sandbox, const std::string& more = {}) {
  return "[Setting]\r\nSaveFile=" + ToAnsi(sandbox.FolderUtf8()) + "\r\nbmp=1\r\nwin=0\r\n" + more;
}

HWND StartAndWaitUntilShown(const Process& program) {
  HWND main = WaitForMainWindow(program);
  EXPECT_TRUE(main && WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  Settle(300);
  return main;
}

HWND WaitForOverlay(const Process& program) {
  HWND overlay = nullptr;
  WaitUntil([&] { return (overlay = FindVisibleWindow(program, nullptr, OverlayCaption)) != nullptr; }, 5s);
  return overlay;
}

// Ctrl+PrintScreen with the target in front: the target's picture in the first BMP file.
::testing::AssertionResult CtrlPrintScreenTakes(const PatternWindow& target, const Sandbox& sandbox) {
  SetForegroundWindow(target.Handle());
  Settle();
  PressKey(VK_SNAPSHOT, true);
  const auto files = WaitForFiles(sandbox.Folder(), L".bmp", 1);
  if (files.size() != 1) return ::testing::AssertionFailure() << files.size() << " files";
  return ShowsPattern(ReadBmpFile(files[0]), target, {TargetBounds.left, TargetBounds.top}, SizeOf(TargetBounds).cx,
                      SizeOf(TargetBounds).cy);
}

TEST(HotKeys, PrintScreenAndCtrlPrintScreenWorkWhicheverProgramHasTheFocus) {
  PatternWindow target(L"hotkey target", TargetBounds);
  Sandbox sandbox;
  sandbox.WriteIni(HotKeyIni(sandbox));
  Process program = sandbox.Start();
  HWND main = StartAndWaitUntilShown(program);
  ASSERT_TRUE(main);
  EXPECT_TRUE(MessageBoxesOf(program).empty());

  SetForegroundWindow(target.Handle());
  Settle();
  PressKey(VK_SNAPSHOT);
  HWND overlay = WaitForOverlay(program);
  ASSERT_TRUE(overlay) << "PrintScreen did not start a range capture";
  Settle(200);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(overlay) && IsWindowVisible(main); }, 5s));

  EXPECT_TRUE(CtrlPrintScreenTakes(target, sandbox));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; })) << "the main window comes back";

  // With UseHotKey off the program holds neither key: they do nothing, and are free for others.
  program.Kill();
  for (const std::wstring& file : FilesIn(sandbox.Folder(), L".bmp")) DeleteFileW(file.c_str());
  sandbox.WriteIni(HotKeyIni(sandbox, "UseHotKey=0\r\n"));
  program = sandbox.Start();
  ASSERT_TRUE(StartAndWaitUntilShown(program));
  SetForegroundWindow(target.Handle());
  Settle();
  PressKey(VK_SNAPSHOT);
  PressKey(VK_SNAPSHOT, true);
  Settle(1000);
  EXPECT_FALSE(FindVisibleWindow(program, nullptr, OverlayCaption));
  EXPECT_TRUE(FilesIn(sandbox.Folder(), L".bmp").empty());
  EXPECT_TRUE(HeldHotKey(0, VK_SNAPSHOT).Held()) << "PrintScreen is free for others";
}

TEST(HotKeys, AKeyHeldByAnotherProgramIsReportedAndTheOtherKeyStillWorks) {
  PatternWindow target(L"hotkey target", TargetBounds);
  HeldHotKey printScreen(0, VK_SNAPSHOT);
  ASSERT_TRUE(printScreen.Held()) << "the driver holds PrintScreen first";
  Sandbox sandbox;
  sandbox.WriteIni(HotKeyIni(sandbox));
  Process program = sandbox.Start();

  auto box = WaitForMessageBox(program);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "Kamerin");
  // The key, the system's reason (another program holds the key) and what the user can do.
  EXPECT_TRUE(std::regex_match(
      box->text,
      std::regex(
          "ホットキーが登録できません\\(SnapShot\\)\r\nRegisterHotKey が失敗しました: [^\r\n]+ \\(エラー 1409\\)\r\n"
          "ほかのプログラムがこのキーを使っています。そのプログラムを終了するか、そのプログラムでキーの割り当てを外す"
          "と、Kamerin で使えます。")))
      << box->text;
  Answer(*box, IDOK);
  ASSERT_TRUE(StartAndWaitUntilShown(program));
  EXPECT_TRUE(CtrlPrintScreenTakes(target, sandbox));

  // Where Windows gives PrintScreen to its snipping tool, the box says so.
  program.Kill();
  const DWORD on = 1;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Keyboard", L"PrintScreenKeyForSnippingEnabled",
                            REG_DWORD, &on, sizeof on),
            ERROR_SUCCESS);
  program = sandbox.Start();
  box = WaitForMessageBox(program);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Keyboard", L"PrintScreenKeyForSnippingEnabled");
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find("(エラー 1409)\r\nWindows の設定で PrintScreen キーが画面の切り取りに使われています。"),
            std::string::npos)
      << box->text;
  Answer(*box, IDOK);
}

// The clipboard's hotkey, off until one is set: set in the file it pins the clipboard's picture
// from whatever program has the focus; the settings dialog shows it and takes another, and a key
// another program holds is explained as PrintScreen's is.
TEST(HotKeys, TheClipboardKeyPinsTheClipboardsPictureAndAKeyTakenIsExplained) {
  PatternWindow target(L"hotkey target", TargetBounds);
  Sandbox sandbox;
  sandbox.WriteIni(HotKeyIni(sandbox, "UseHotKey=0\r\nClipboardViewHotKey=Ctrl+Alt+V\r\n"));
  Process program = sandbox.Start();
  HWND main = StartAndWaitUntilShown(program);
  ASSERT_TRUE(main);
  EXPECT_TRUE(MessageBoxesOf(program).empty());
  EXPECT_FALSE(HeldHotKey(MOD_CONTROL | MOD_ALT, 'V').Held()) << "the program holds the key";

  PutBytesOnClipboard(CF_DIB, Bmp24(13, 9, Pattern).substr(14));
  SetForegroundWindow(target.Handle());
  Settle();
  HoldKey(VK_CONTROL, true);
  HoldKey(VK_MENU, true);
  PressKey('V');
  HoldKey(VK_MENU, false);
  HoldKey(VK_CONTROL, false);
  std::vector<HWND> viewers;
  ASSERT_TRUE(WaitUntil([&] { return !(viewers = VisibleViewersOf(program)).empty(); })) << "no viewer";
  Settle(300);
  EXPECT_EQ(CompareViewerPixels(viewers.front(), DefaultFrame, Pattern), "");

  // The dialog's field shows the key (code 'V', Ctrl 2 + Alt 4); another one, held by the driver,
  // is saved and explained when OK binds it.
  HeldHotKey taken(MOD_CONTROL | MOD_ALT, 'B');
  ASSERT_TRUE(taken.Held());
  HWND dialog = OpenSettingsDialog(program, main);
  ASSERT_TRUE(dialog);
  HWND field = GetDlgItem(dialog, kmrn::Id(kmrn::SettingControl::ClipboardViewHotKeyField));
  ASSERT_TRUE(field);
  EXPECT_EQ(SendMessageW(field, HKM_GETHOTKEY, 0, 0), MAKEWORD('V', HOTKEYF_CONTROL | HOTKEYF_ALT));
  SendMessageW(field, HKM_SETHOTKEY, MAKEWORD('B', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
  HWND ok = GetDlgItem(dialog, kmrn::Id(kmrn::SettingControl::OkButton));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kmrn::Id(kmrn::SettingControl::OkButton), BN_CLICKED),
               reinterpret_cast<LPARAM>(ok));
  auto box = WaitForMessageBox(program);
  ASSERT_TRUE(box);
  EXPECT_TRUE(std::regex_match(
      box->text,
      std::regex("ホットキーが登録できません\\(Alt\\+Ctrl\\+B\\)\r\nRegisterHotKey が失敗しました: [^\r\n]+ \\(エラー "
                 "1409\\)\r\nほかのプログラムがこのキーを使っています。.*")))
      << box->text;
  Answer(*box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return sandbox.ReadIni().find("ClipboardViewHotKey=Alt+Ctrl+B") != std::string::npos; }));
  EXPECT_TRUE(HeldHotKey(MOD_CONTROL | MOD_ALT, 'V').Held()) << "the old key is let go";
}

TEST(HotKeys, ACaptureThatFailsIsReportedInFrontOfTheProgramTheUserWasIn) {
  PatternWindow target(L"hotkey target", TargetBounds);
  Sandbox sandbox;
  const std::wstring shots = sandbox.Path(L"shots");
  ASSERT_TRUE(CreateDirectoryW(shots.c_str(), nullptr));
  sandbox.WriteIni("[Setting]\r\nSaveFile=" + ToAnsi(Narrow(shots)) + "\r\nbmp=1\r\nwin=0\r\n");
  Process program = sandbox.Start();
  HWND main = StartAndWaitUntilShown(program);
  ASSERT_TRUE(main);
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); })) << "resident, out of sight";

  ReadOnlyFolder locked(shots);
  SetForegroundWindow(target.Handle());
  Settle();
  PressKey(VK_SNAPSHOT, true);
  auto box = WaitForMessageBox(program);
  ASSERT_TRUE(box) << "no error box";
  EXPECT_NE(box->text.find("を作成できません"), std::string::npos) << box->text;
  EXPECT_EQ(GetWindow(box->window, GW_OWNER), main) << "owned by the program's main window";
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box->window; }, 3s)) << "in front";
  Answer(*box, IDOK);
  EXPECT_FALSE(IsWindowVisible(main)) << "the hidden program stays hidden";
}

TEST(NotificationAreaIcon, BringsTheResidentProgramBackOffersItsMenuAndStartsARangeCapture) {
  NotificationArea shell;
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nUseHotKey=0\r\nTaskWheelToRange=1\r\n");  // resident by default
  Process program = sandbox.Start();
  HWND main = StartAndWaitUntilShown(program);
  ASSERT_TRUE(main);
  HWND callback = FindChild(main, L"TMyCallback", L"");
  ASSERT_TRUE(callback) << "the icon's callback window is a child of the main window";
  ASSERT_TRUE(WaitUntil([&] { return !shell.Calls().empty(); }));
  const IconCall added = shell.Calls()[0];
  EXPECT_EQ(added.action, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(added.callback, callback);
  EXPECT_EQ(added.id, 1u) << "the identifier its messages come back with";
  EXPECT_EQ(added.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(added.callbackMessage, 0x465u);
  EXPECT_EQ(added.tip, "Kamerin");

  // What the shell reports for the icon: its identifier and the mouse message.
  auto iconMessage = [&](UINT mouseMessage, WPARAM id = 1) {
    PostMessageW(callback, 0x465, id, mouseMessage);
    Settle(300);
  };
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); })) << "the close box hides the resident program";
  iconMessage(WM_LBUTTONDBLCLK);
  iconMessage(WM_RBUTTONDOWN);
  iconMessage(WM_LBUTTONUP, 2);  // not the program's icon
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_FALSE(FindVisibleWindow(program, L"#32768"));
  iconMessage(WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; })) << "a left click brings it back";

  iconMessage(WM_MBUTTONUP);
  HWND overlay = WaitForOverlay(program);
  ASSERT_TRUE(overlay) << "a middle click starts a range capture";
  Settle(200);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(overlay); }, 5s));

  // A shell that starts again knows no icons: the program adds its own once more.
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return shell.Calls().size() >= 2 && shell.Calls()[1].action == NIM_ADD; }));

  // The right button opens the main window's menu; its exit ends the program and takes the icon.
  iconMessage(WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = FindVisibleWindow(program, L"#32768")) != nullptr; }, 3s));
  PressKey('E');
  EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
  ASSERT_FALSE(shell.Calls().empty());
  const IconCall deleted = shell.Calls().back();
  EXPECT_EQ(deleted.action, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(deleted.id, 1u) << "the icon that was added";
  EXPECT_EQ(deleted.callback, callback);
}

}  // namespace
}  // namespace e2e
