// Start-up, the single running copy, and the ways out.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "driver.h"
#include "notification_area.h"
#include "pictures.h"
#include "viewer_fixture.h"

namespace e2e {
namespace {

constexpr const char* ResidentOff = "[Setting]\r\nAlwaysNoCloseX=0\r\n";

TEST(Startup, MainWindowHasItsIdentityAndNoTaskbarButton) {
  Sandbox sandbox;
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; }));

  // Owned by an invisible tool window: neither window gets a taskbar button.
  HWND owner = GetWindow(main, GW_OWNER);
  ASSERT_TRUE(owner);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_TRUE(GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_TRUE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) << "always on top by default";

  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, AtDpi(302, DpiFor(main)));
  EXPECT_EQ(client.bottom, AtDpi(36, DpiFor(main)));
  EXPECT_FALSE(FileExists(sandbox.Ini())) << "loading never creates the settings file";
}

TEST(SingleInstance, ASecondStartWithoutArgumentEndsAtOnceAndShowsNothing) {
  Sandbox sandbox;
  Process first = sandbox.Start();
  ASSERT_TRUE(WaitForMainWindow(first));
  Process second = sandbox.Start();
  EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(MessageBoxesOf(first).empty());
}

TEST(SingleInstance, ASecondStartForwardsItsFileToTheRunningCopy) {
  Sandbox sandbox;
  WriteFileBytes(sandbox.Path(L"broken.bmp"), "BM this is no bitmap");
  Process first = sandbox.Start();
  ASSERT_TRUE(WaitForMainWindow(first));

  // The running copy opens the forwarded file; the second start waits until that is done.
  Process second = sandbox.Start({sandbox.Path(L"broken.bmp")});
  auto box = WaitForMessageBox(first);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "Kamerin");
  EXPECT_EQ(box->text, "ビットマップイメージが不正です");
  EXPECT_TRUE(second.Running()) << "the forwarding start returns only when the file has been handled";
  Answer(*box, IDOK);
  EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));

  const std::wstring missing = sandbox.Path(L"missing.JPG");
  Process third = sandbox.Start({missing});
  box = WaitForMessageBox(first);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text.rfind("ファイル " + Narrow(missing) + " は開けません\r\nCreateFileW が失敗しました", 0), 0u)
      << box->text;
  EXPECT_NE(box->text.find("(エラー 2)"), std::string::npos) << "the system's reason: " << box->text;
  Answer(*box, IDOK);
  EXPECT_EQ(third.WaitForExit(), std::optional<DWORD>(0));

  // Not a picture by its name: nothing is opened and nothing reported.
  WriteFileBytes(sandbox.Path(L"picture.gif"), "GIF");
  Process fourth = sandbox.Start({sandbox.Path(L"picture.gif")});
  EXPECT_EQ(fourth.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(MessageBoxesOf(first).empty());
}

TEST(SingleInstance, PngFilesOfEveryColourTypeOpenAndDamagedOrHugeOnesAreReported) {
  Sandbox sandbox;
  const char* samples[] = {"type2_depth8",
                           "type0_depth1",
                           "type0_depth16_trns",
                           "type3_depth4_trns",
                           "type2_depth16_trns_interlaced",
                           "type4_depth8",
                           "type6_depth16_interlaced"};
  for (const char* name : samples) {
    WriteFileBytes(sandbox.Path(Widen(name) + L".png"), ReadFileBytes(PngSample("good/" + std::string(name) + ".png")));
  }

  // The first on the command line, the others handed over by second starts; each viewer comes in
  // front of the last and shows the picture.
  Process first = sandbox.Start({sandbox.Path(Widen(samples[0]) + L".png")});
  ASSERT_TRUE(WaitForMainWindow(first));
  std::vector<HWND> seen;
  for (const char* name : samples) {
    SCOPED_TRACE(name);
    if (name != samples[0]) {
      Process second = sandbox.Start({sandbox.Path(Widen(name) + L".png")});
      EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
    }
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
      for (HWND shown : VisibleViewersOf(first)) {
        if (std::find(seen.begin(), seen.end(), shown) == seen.end()) viewer = shown;
      }
      return viewer != nullptr;
    }));
    seen.push_back(viewer);
    const std::string ppm = ReadFileBytes(PngSample("good/" + std::string(name) + ".ppm"));
    std::string difference;
    EXPECT_TRUE(WaitUntil([&] { return (difference = CompareWithPpm(viewer, ppm)).empty(); })) << difference;
    EXPECT_TRUE(MessageBoxesOf(first).empty());
  }

  // A damaged file and one that claims a huge picture: each reported in the error box, as a
  // damaged BMP or JPEG is, with no viewer; a file of any case of extension is read as PNG.
  const std::pair<const char*, const char*> refused[] = {
      {"bad_crc_in_idat", "PNG イメージが不正です"}, {"too_large_40000_square", "画像が大きすぎます (40000 x 40000)"}};
  for (const auto& [name, text] : refused) {
    SCOPED_TRACE(name);
    const std::wstring path = sandbox.Path(Widen(name) + L".PNG");
    WriteFileBytes(path, ReadFileBytes(PngSample(std::string("bad/") + name + ".png")));
    Process second = sandbox.Start({path});
    auto box = WaitForMessageBox(first);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Kamerin");
    EXPECT_EQ(box->text, text);
    Answer(*box, IDOK);
    EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
  }
  EXPECT_EQ(VisibleViewersOf(first).size(), std::size(samples));
}

// A stand-in for a running copy that is still starting: it holds the single-instance lock, and
// makes its main window (which records what it is handed) only when told to.
class StartingCopy {
 public:
  StartingCopy() : lock_(CreateMutexW(nullptr, FALSE, L"KMRN_MUTEX")) { EXPECT_TRUE(lock_); }
  ~StartingCopy() {
    window_.reset();
    EndWithoutWindow();
  }
  // The copy ends before its window came: the lock goes.
  void EndWithoutWindow() {
    if (lock_) CloseHandle(lock_);
    lock_ = nullptr;
  }
  void ShowMainWindow() {
    window_ = StartStandInWindow(L"KMRN_MAIN_WINDOW", L"Kamerin", [this](UINT message, WPARAM, LPARAM lParam) {
      if (message != WM_COPYDATA) return std::optional<LRESULT>();
      const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      std::lock_guard lock(mutex_);
      received_.emplace_back(data.dwData, std::string(static_cast<const char*>(data.lpData), data.cbData));
      return std::optional<LRESULT>(TRUE);
    });
  }
  // What reached the window: the tag and the bytes of each WM_COPYDATA.
  std::vector<std::pair<ULONG_PTR, std::string>> Received() const {
    std::lock_guard lock(mutex_);
    return received_;
  }

 private:
  HANDLE lock_;
  std::unique_ptr<WindowThread> window_;
  mutable std::mutex mutex_;
  std::vector<std::pair<ULONG_PTR, std::string>> received_;
};

TEST(SingleInstance, AFileGivenWhileTheRunningCopyStartsWaitsForItAndKeepsEveryCharacter) {
  Sandbox sandbox;
  const std::wstring plain = sandbox.Path(L"写真.bmp");
  const std::wstring unspellable = sandbox.Path(L"照片_个\U0001F600.bmp");  // not in code page 932
  for (const std::wstring& path : {plain, unspellable}) {
    WriteFileBytes(path, Bmp24(3, 2, [](int, int) { return RGB(10, 20, 30); }));
  }

  // The running copy's window comes a second after the file: the file waits for it.
  auto starting = std::make_unique<StartingCopy>();
  Process second = sandbox.Start({plain});
  Sleep(1000);
  EXPECT_TRUE(second.Running()) << "the second start gave up at once";
  starting->ShowMainWindow();
  EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
  // A path the ANSI code page spells goes as it always has; any other in UTF-16.
  Process third = sandbox.Start({unspellable});
  EXPECT_EQ(third.WaitForExit(), std::optional<DWORD>(0));
  const auto received = starting->Received();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].first, 0x49716955u);
  EXPECT_EQ(received[0].second, ToAnsi(Narrow(plain)) + '\0');
  EXPECT_EQ(received[1].first, 0x49716956u);
  EXPECT_EQ(received[1].second, std::string(reinterpret_cast<const char*>(unspellable.c_str()),
                                            (unspellable.size() + 1) * sizeof(wchar_t)));
  starting.reset();

  // The starting copy ends before its window came: the file's start carries on as the running copy.
  starting = std::make_unique<StartingCopy>();
  Process fourth = sandbox.Start({unspellable});
  Sleep(1000);
  starting->EndWithoutWindow();
  ASSERT_TRUE(WaitForMainWindow(fourth));
  EXPECT_TRUE(WaitUntil([&] { return FindVisibleWindow(fourth, L"KMRN_VIEW_WINDOW") != nullptr; }))
      << "the picture did not open";

  // And a second start hands the running copy a name the ANSI code page cannot spell.
  Process fifth = sandbox.Start({unspellable});
  EXPECT_EQ(fifth.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(WaitUntil([&] { return VisibleViewersOf(fourth).size() == 2u; })) << "the forwarded picture did not open";
  EXPECT_TRUE(MessageBoxesOf(fourth).empty());
  fourth.Kill();

  // A copy that never gets as far as its window: after ten seconds the file is reported, not lost.
  starting = std::make_unique<StartingCopy>();
  Process sixth = sandbox.Start({plain});
  auto box = WaitForMessageBox(sixth, 15s);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "ファイル " + Narrow(plain) + " を起動中の Kamerin に渡せませんでした");
  Answer(*box, IDOK);
  EXPECT_EQ(sixth.WaitForExit(), std::optional<DWORD>(1));
}

TEST(SingleInstance, ARelativePathIsForwardedAsTheFileItNamesWhereTheSecondStartRuns) {
  Sandbox sandbox;
  Process first = sandbox.Start();
  ASSERT_TRUE(WaitForMainWindow(first));
  const std::wstring elsewhere = sandbox.Path(L"elsewhere");
  CreateDirectoryW(elsewhere.c_str(), nullptr);
  WriteFileBytes(elsewhere + L"\\shot.bmp", Bmp24(3, 2, [](int, int) { return RGB(10, 20, 30); }));

  Process second = Process::Start(sandbox.Exe(), {L"shot.bmp"}, elsewhere);
  EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(WaitUntil([&] { return FindVisibleWindow(first, L"KMRN_VIEW_WINDOW") != nullptr; }))
      << "the picture did not open";
  EXPECT_TRUE(MessageBoxesOf(first).empty());
}

TEST(SingleInstance, CopyDataWithAnotherTagIsPassedOn) {
  Sandbox sandbox;
  WriteFileBytes(sandbox.Path(L"broken.bmp"), "BM this is no bitmap");
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main);
  std::string path = ToAnsi(Narrow(sandbox.Path(L"broken.bmp")));
  COPYDATASTRUCT data{0x12345678, static_cast<DWORD>(path.size() + 1), path.data()};
  EXPECT_EQ(SendMessageA(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
  Sleep(500);
  EXPECT_TRUE(MessageBoxesOf(program).empty());
}

TEST(Startup, StaysHiddenWhenLastRunEndedHidden) {
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nMainWindowVisible=0\r\n");
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main);
  Sleep(700);
  EXPECT_FALSE(IsWindowVisible(main));
}

TEST(Startup, ACommandLineFileShowsTheWindowAndOpensAtItsFirstShowing) {
  Sandbox sandbox;
  sandbox.WriteIni("[Setting]\r\nMainWindowVisible=0\r\n");
  WriteFileBytes(sandbox.Path(L"text.jpg"), "this is plain text, not a JPEG file");
  Process program = sandbox.Start({sandbox.Path(L"text.jpg")});
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main);
  auto box = WaitForMessageBox(program);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text.rfind("JPEG エラー #", 0), 0u) << box->text;
  EXPECT_TRUE(IsWindowVisible(main));
  Answer(*box, IDOK);
}

TEST(Startup, AMissingSaveFolderIsReportedAndTheProgramFolderTakesItsPlace) {
  struct Case {
    const char* saveFile;
  };
  for (const Case& c : {Case{"C:\\no such folder\\shots"}, Case{""}}) {
    SCOPED_TRACE(c.saveFile);
    Sandbox sandbox;
    sandbox.WriteIni(std::string("[Setting]\r\nSaveFile=") + c.saveFile + "\r\nAlwaysNoCloseX=0\r\n");
    Process program = sandbox.Start();
    auto box = WaitForMessageBox(program);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Title");
    EXPECT_EQ(box->text, std::string(c.saveFile) + " が見つかりませんでした。\r\n保存フォルダを " +
                             sandbox.FolderUtf8() + " に設定します。");
    Answer(*box, IDOK);
    HWND main = WaitForMainWindow(program);
    ASSERT_TRUE(main);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
    auto keys = IniSection(sandbox.ReadIni(), "Setting");
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys[0], (std::pair<std::string, std::string>("SaveFile", ToAnsi(sandbox.FolderUtf8()))));
  }
}

TEST(Shutdown, TheCloseBoxHidesTheResidentProgram) {
  Sandbox sandbox;
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; }));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
  Sleep(300);
  EXPECT_TRUE(program.Running());
  EXPECT_FALSE(FileExists(sandbox.Ini()));
}

TEST(Shutdown, TheCloseBoxSavesAndEndsLeavingTheUsersFilesAlone) {
  NotificationArea shell;
  Sandbox sandbox;
  sandbox.WriteIni(ResidentOff);
  // A picture of the user's that happens to bear the editor hand-over's name, in the program's
  // current folder: this run handed nothing over, so it stays.
  WriteFileBytes(sandbox.Path(L"Temp.bmp"), "the user's own picture");
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_EQ(IniSection(sandbox.ReadIni(), "Setting").size(), 49u);
  EXPECT_EQ(ReadFileBytes(sandbox.Path(L"Temp.bmp")), "the user's own picture");
  EXPECT_TRUE(shell.Calls().empty()) << "a program that does not stay resident shows no icon";

  // The name is free again for the next start.
  Process next = sandbox.Start();
  EXPECT_TRUE(WaitForMainWindow(next));
}

}  // namespace
}  // namespace e2e
