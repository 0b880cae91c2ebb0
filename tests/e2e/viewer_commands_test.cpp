// The viewer's context menu as the user works it: copy, save, mirror, rotate, hand the picture to
// an editor, close one or all, and each command's auto-close; and viewers that snap to the
// screen's edges and to each other while they are dragged.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <regex>
#include <thread>

#include "driver.h"
#include "input.h"
#include "pictures.h"
#include "viewer_fixture.h"

namespace e2e {
namespace {

constexpr int W = 30, H = 20;

// The folder the saves go to, apart from the opened picture.
std::wstring ShotsFolder(const Sandbox& sandbox) {
  const std::wstring folder = sandbox.Path(L"shots");
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

::testing::AssertionResult Shows(const std::optional<Picture>& picture, int width, int height, const Pixel& pixel) {
  if (!picture) return ::testing::AssertionFailure() << "no picture";
  if (picture->width != width || picture->height != height) {
    return ::testing::AssertionFailure() << "size " << picture->width << "x" << picture->height;
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF want = pixel(x, y);
      const std::uint32_t got = picture->At(x, y);
      if (RGB(Red(got), Green(got), Blue(got)) != want)
        return ::testing::AssertionFailure() << "pixel " << x << "," << y;
    }
  }
  return ::testing::AssertionSuccess();
}

// The first quantisation value of a JPEG file (the DC of the first table).
int FirstQuantValue(const std::string& jpeg) {
  const std::size_t table = jpeg.find("\xFF\xDB");
  return table == std::string::npos || table + 5 >= jpeg.size() ? -1 : static_cast<unsigned char>(jpeg[table + 5]);
}

// A popup menu of the driver's own, shown at a screen point on a thread of its own: a program's
// menu cannot be read from another process under Wine, but the same captions in the same order
// show the same pixels. An empty caption is a separator; an item with items of its own opens
// them as its submenu.
struct MenuLine {
  MenuLine(std::wstring caption = {}, std::vector<std::wstring> submenu = {})
      : caption(std::move(caption)), submenu(std::move(submenu)) {}
  std::wstring caption;
  std::vector<std::wstring> submenu;
};

class ReferenceMenu {
 public:
  ReferenceMenu(POINT at, std::vector<MenuLine> lines) {
    thread_ = std::thread([this, at, lines = std::move(lines)] {
      HMENU menu = CreatePopupMenu();
      for (const MenuLine& line : lines) {
        if (line.caption.empty()) {
          AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (line.submenu.empty()) {
          AppendMenuW(menu, MF_STRING, 1, line.caption.c_str());
        } else {
          HMENU submenu = CreatePopupMenu();
          for (const std::wstring& item : line.submenu) AppendMenuW(submenu, MF_STRING, 2, item.c_str());
          AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu), line.caption.c_str());
        }
      }
      owner_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                               nullptr);
      SetForegroundWindow(owner_);
      TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner_, nullptr);
      DestroyWindow(owner_);
      DestroyMenu(menu);
    });
  }
  ~ReferenceMenu() {
    WaitUntil([&] { return owner_ != nullptr; }, 3s);
    SendMessageW(owner_, WM_CANCELMODE, 0, 0);  // ends the menu
    thread_.join();
  }

 private:
  std::thread thread_;
  std::atomic<HWND> owner_ = nullptr;
};

// The visible menu windows of a process, the menu first and its open submenu after it.
std::vector<HWND> MenuWindowsOf(DWORD processId) {
  std::vector<HWND> menus = WindowsOfProcess(processId, L"#32768");
  std::erase_if(menus, [](HWND menu) { return !IsWindowVisible(menu); });
  std::sort(menus.begin(), menus.end(), [](HWND a, HWND b) { return WindowRectOf(a).left < WindowRectOf(b).left; });
  return menus;
}

std::vector<Picture> PixelsOf(const std::vector<HWND>& windows) {
  std::vector<Picture> pictures;
  for (HWND window : windows) pictures.push_back(ScreenPixels(WindowRectOf(window)));
  return pictures;
}

// The program's viewer menu, open at its place with its Edit submenu opened by "E", shows exactly
// what a menu of these lines shows there.
::testing::AssertionResult MenuShows(const Process& program, const std::vector<MenuLine>& lines) {
  std::vector<HWND> shown;
  if (!WaitUntil([&] { return !(shown = MenuWindowsOf(program.Id())).empty(); }, 3s)) {
    return ::testing::AssertionFailure() << "no menu";
  }
  Settle(200);
  const RECT place = WindowRectOf(shown[0]);
  PressKey('E');
  if (!WaitUntil([&] { return (shown = MenuWindowsOf(program.Id())).size() == 2; }, 3s)) {
    return ::testing::AssertionFailure() << "no Edit submenu";
  }
  Settle(200);
  const std::vector<Picture> actual = PixelsOf(shown);
  PressKey(VK_ESCAPE);
  PressKey(VK_ESCAPE);
  if (!WaitUntil([&] { return MenuWindowsOf(program.Id()).empty(); }, 3s)) {
    return ::testing::AssertionFailure() << "the menu did not close";
  }

  ReferenceMenu reference({place.left, place.top}, lines);
  std::vector<HWND> own;
  if (!WaitUntil([&] { return !(own = MenuWindowsOf(GetCurrentProcessId())).empty(); }, 3s)) {
    return ::testing::AssertionFailure() << "the reference menu did not open";
  }
  Settle(200);
  PressKey('E');
  WaitUntil([&] { return (own = MenuWindowsOf(GetCurrentProcessId())).size() == 2; }, 3s);
  Settle(200);
  const std::vector<Picture> expected = PixelsOf(own);
  if (expected.size() != actual.size()) return ::testing::AssertionFailure() << "the reference submenu did not open";
  for (std::size_t i = 0; i < actual.size(); ++i) {
    if (actual[i].width != expected[i].width || actual[i].height != expected[i].height) {
      return ::testing::AssertionFailure() << "menu " << i << " is " << actual[i].width << "x" << actual[i].height
                                           << ", expected " << expected[i].width << "x" << expected[i].height;
    }
    if (actual[i].pixels != expected[i].pixels) return ::testing::AssertionFailure() << "menu " << i << " differs";
  }
  return ::testing::AssertionSuccess();
}

TEST_F(Viewer, TheMenuHoldsItsCommandsInOrderAndCloseAllOnlyWithTwoViewers) {
  HWND viewer = OpenPattern(ToAnsi("OpenApplicationStr=エディタで開く(&P)\r\n"), W, H);
  ASSERT_TRUE(viewer);
  std::vector<MenuLine> lines{{L"クリップボードにコピー(&C)"},
                              {L"エディタで開く(&P)"},
                              {},
                              {L"Bmp保存(&S)"},
                              {L"Jpg保存(&J)"},
                              {L"Png保存(&N)"},
                              {},
                              {L"編集(&E)", {L"左右反転(&L)", L"上下反転(&U)", L"時計回りに90ﾟ回転(&R)"}},
                              {},
                              {L"閉じる(&Q)"}};
  const POINT middle = MiddleOf(ClientRectOnScreen(viewer));
  Click(middle.x, middle.y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  EXPECT_TRUE(MenuShows(program_, lines)) << "one viewer";

  // A second viewer: "全て閉じる" is offered, last. A double click opens the menu at the pointer.
  Process second = sandbox_.Start({sandbox_.Path(L"picture.bmp")});
  ASSERT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
  ASSERT_TRUE(WaitUntil([&] { return VisibleViewersOf(program_).size() == 2; }));
  lines.push_back({L"全て閉じる(&A)"});
  HWND top = VisibleViewersOf(program_).front();
  const POINT at = MiddleOf(ClientRectOnScreen(top));
  DoubleClick(at.x - 3, at.y + 2);
  std::vector<HWND> menu;
  ASSERT_TRUE(WaitUntil([&] { return (menu = MenuWindowsOf(program_.Id())).size() == 1; }, 3s));
  EXPECT_EQ(WindowRectOf(menu[0]).left, at.x - 3);
  EXPECT_EQ(WindowRectOf(menu[0]).top, at.y + 2);
  EXPECT_TRUE(MenuShows(program_, lines)) << "two viewers";
}

TEST_F(Viewer, CommandsWorkOnThePictureAsItIsShownNow) {
  Sandbox& sandbox = sandbox_;
  const std::wstring shots = ShotsFolder(sandbox);
  HWND viewer = OpenPattern(
      "SaveFile=" + ToAnsi(Narrow(shots)) + "\r\nJpgQuality=30\r\nJpgProgressive=1\r\nViewWinWheelStretch=1\r\n", W, H);
  ASSERT_TRUE(viewer);

  PutTextOnClipboard(L"before");
  ASSERT_TRUE(Choose(viewer, {'C'}));
  EXPECT_TRUE(Shows(ClipboardPicture(), W, H, Pattern)) << "copy";

  ASSERT_TRUE(Choose(viewer, {'S'}));
  ASSERT_TRUE(Choose(viewer, {'J'}));
  auto bmps = WaitForFiles(shots, L".bmp", 1), jpgs = WaitForFiles(shots, L".jpg", 1);
  ASSERT_EQ(bmps.size(), 1u);
  ASSERT_EQ(jpgs.size(), 1u);
  EXPECT_EQ(BmpBitCount(bmps[0]), 24) << "an opened 24-bit picture is saved at 24 bits";
  EXPECT_TRUE(Shows(ReadBmpFile(bmps[0]), W, H, Pattern));
  const std::string jpeg = ReadFileBytes(jpgs[0]);
  EXPECT_NE(jpeg.find("\xFF\xC2"), std::string::npos) << "progressive";
  EXPECT_EQ(FirstQuantValue(jpeg), 27) << "quality 30: 16 x 5000 / 30 / 100";
  EXPECT_EQ(jpgs[0].find(L"_2."), std::wstring::npos) << "a BMP and a JPEG may share their name";

  // Mirrors: exact, both ways.
  ASSERT_TRUE(Choose(viewer, {'E', 'L'}));
  ASSERT_TRUE(Choose(viewer, {'E', 'U'}));
  const Pixel turned = [](int x, int y) { return Pattern(W - 1 - x, H - 1 - y); };
  std::string difference;
  EXPECT_TRUE(WaitUntil([&] { return (difference = CompareViewerPixels(viewer, DefaultFrame, turned)).empty(); }))
      << "mirrored: " << difference;

  // A quarter turn: the size turns, the top-left corner stays; four give the picture back.
  const RECT before = WindowRectOf(viewer);
  ASSERT_TRUE(Choose(viewer, {'E', 'R'}));
  ASSERT_TRUE(WaitUntil([&] { return SizeOf(ClientRectOnScreen(viewer)).cx == H; }));
  EXPECT_EQ(WindowRectOf(viewer).left, before.left);
  EXPECT_EQ(WindowRectOf(viewer).top, before.top);
  EXPECT_TRUE(WaitUntil([&] {
    return (difference = CompareViewerPixels(viewer, DefaultFrame, [&](int x, int y) { return turned(y, H - 1 - x); }))
        .empty();
  })) << "rotated: "
      << difference;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Choose(viewer, {'E', 'R'}));
  EXPECT_TRUE(WaitUntil([&] { return (difference = CompareViewerPixels(viewer, DefaultFrame, turned)).empty(); }))
      << "after four turns: " << difference;

  // Zoomed (from the picture as it was opened), mirrored, saved: the file holds what is shown.
  ASSERT_TRUE(WheelTo(viewer, 1, {2 * W, 2 * H}));
  ASSERT_TRUE(Choose(viewer, {'E', 'L'}));
  ASSERT_TRUE(Choose(viewer, {'S'}));
  bmps = WaitForFiles(shots, L".bmp", 2);
  ASSERT_EQ(bmps.size(), 2u);
  EXPECT_TRUE(
      Shows(ReadBmpFile(bmps[1]), 2 * W, 2 * H, [](int x, int y) { return Pattern((2 * W - 1 - x) / 2, y / 2); }));
  EXPECT_TRUE(MessageBoxesOf(program_).empty());
}

TEST_F(Viewer, PngSaveAndCopyTakeThePictureAsTurnedAndTheCopyCanBePastedAfterTheEnd) {
  const std::wstring shots = ShotsFolder(sandbox_);
  HWND viewer = OpenPattern("SaveFile=" + ToAnsi(Narrow(shots)) + "\r\nAutoClosePng=1\r\nAlwaysNoCloseX=0\r\n", W, H);
  ASSERT_TRUE(viewer);
  ASSERT_TRUE(Choose(viewer, {'E', 'R'}));
  ASSERT_TRUE(WaitUntil([&] { return SizeOf(ClientRectOnScreen(viewer)).cx == H; }));
  const Pixel turned = [](int x, int y) { return Pattern(y, H - 1 - x); };

  // The copy: the bitmap as before, and the PNG rendered when asked for.
  PutTextOnClipboard(L"before");
  ASSERT_TRUE(Choose(viewer, {'C'}));
  EXPECT_TRUE(Shows(ClipboardPicture(), H, W, turned)) << "bitmap";
  EXPECT_TRUE(Shows(ClipboardPng(), H, W, turned)) << "PNG";

  // Mirrored and copied again, then saved as PNG, which closes the viewer (AutoClosePng).
  ASSERT_TRUE(Choose(viewer, {'E', 'L'}));
  const Pixel mirrored = [&](int x, int y) { return turned(H - 1 - x, y); };
  ASSERT_TRUE(Choose(viewer, {'C'}));
  EXPECT_TRUE(Visible(viewer)) << "AutoCloseCopy is off";
  ASSERT_TRUE(Choose(viewer, {'N'}));
  auto pngs = WaitForFiles(shots, L".png", 1);
  ASSERT_EQ(pngs.size(), 1u);
  EXPECT_TRUE(std::regex_match(pngs[0], std::wregex(LR"(.*\\\d{8}_\d{6}(_\d+)?\.png)"))) << Narrow(pngs[0]);
  EXPECT_TRUE(Shows(ReadPngFile(pngs[0]), H, W, mirrored));
  EXPECT_TRUE(WaitUntil([&] { return !Visible(viewer); })) << "AutoClosePng";
  EXPECT_TRUE(MessageBoxesOf(program_).empty());

  // The second copy's PNG was never asked for: the program renders it before it ends.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_EQ(program_.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(Shows(ClipboardPng(), H, W, mirrored)) << "after the end";
  EXPECT_TRUE(Shows(ClipboardPicture(), H, W, mirrored)) << "the bitmap after the end";
}

// Opens the picture once more in the running program, as a second start does; waits for its viewer.
void OpenAgain(const Sandbox& sandbox, const Process& program, std::size_t visibleAfter) {
  Process second = sandbox.Start({sandbox.Path(L"picture.bmp")});
  EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(WaitUntil([&] { return VisibleViewersOf(program).size() == visibleAfter; }));
}

TEST_F(Viewer, EachCommandClosesItsViewerWhenAskedAndOnlyAfterItSucceeded) {
  Sandbox& sandbox = sandbox_;
  const std::wstring shots = ShotsFolder(sandbox);
  // The editor lives in a folder with a blank in its name and is named without quotes.
  const std::wstring toolFolder = sandbox.Path(L"Tool Dir");
  CreateDirectoryW(toolFolder.c_str(), nullptr);
  const std::wstring editor = toolFolder + L"\\editor.exe";
  ASSERT_TRUE(CopyFileW((DriverFolder() + L"\\recording_editor.exe").c_str(), editor.c_str(), FALSE));
  WriteFileBytes(sandbox.Path(L"Temp.bmp"), "the user's own picture");
  HWND first = OpenPattern("SaveFile=" + ToAnsi(Narrow(shots)) + "\r\nOpenApplication=" + ToAnsi(Narrow(editor)) +
                               "\r\nAutoCloseBmp=1\r\nAutoCloseJpg=1\r\nAutoCloseCopy=1\r\nAutoClosePaint=1\r\n"
                               "AlwaysNoCloseX=0\r\n",
                           W, H);
  ASSERT_TRUE(first);
  for (std::size_t count = 2; count <= 4; ++count) OpenAgain(sandbox, program_, count);

  // A save that fails leaves its viewer open.
  {
    ReadOnlyFolder refuse(shots);
    ASSERT_TRUE(Choose(VisibleViewersOf(program_).front(), {'S'}));
    auto box = WaitForMessageBox(program_);
    ASSERT_TRUE(box);
    Answer(*box, IDOK);
    EXPECT_EQ(VisibleViewersOf(program_).size(), 4u);
  }
  // So does an editor that cannot be started, which is reported.
  {
    const std::wstring away = editor + L".away";
    ASSERT_TRUE(MoveFileW(editor.c_str(), away.c_str()));
    ASSERT_TRUE(Choose(VisibleViewersOf(program_).front(), {'P'}));
    auto box = WaitForMessageBox(program_);
    ASSERT_TRUE(box) << "the failed start is not reported";
    EXPECT_EQ(box->text.rfind(Narrow(editor) + " を起動できません", 0), 0u) << box->text;
    Answer(*box, IDOK);
    EXPECT_EQ(VisibleViewersOf(program_).size(), 4u);
    ASSERT_TRUE(MoveFileW(away.c_str(), editor.c_str()));
  }
  // Four viewers lie on one another; each command closes the one on top.
  PutTextOnClipboard(L"before");
  for (WORD key : {'C', 'S', 'J', 'P'}) {
    const std::size_t before = VisibleViewersOf(program_).size();
    ASSERT_TRUE(Choose(VisibleViewersOf(program_).front(), {key}));
    EXPECT_TRUE(WaitUntil([&] { return VisibleViewersOf(program_).size() == before - 1; })) << char(key);
  }
  EXPECT_TRUE(Shows(ClipboardPicture(), W, H, Pattern));
  EXPECT_EQ(WaitForFiles(shots, L".bmp", 1).size(), 1u);
  EXPECT_EQ(WaitForFiles(shots, L".jpg", 1).size(), 1u);

  // The editor got the full path of a picture of its own, in quotes, and was itself quoted.
  std::string commandLine;
  ASSERT_TRUE(WaitUntil([&] { return !(commandLine = ReadFileBytes(editor + L".cmdline")).empty(); }));
  const std::string prefix = Narrow(L"\"" + editor + L"\" \"");
  ASSERT_EQ(commandLine.substr(0, prefix.size()), prefix) << commandLine;
  const std::wstring handedOver = Widen(commandLine.substr(prefix.size(), commandLine.size() - prefix.size() - 1));
  EXPECT_NE(handedOver.find(L"\\Kamerin\\"), std::wstring::npos) << Narrow(handedOver);
  EXPECT_TRUE(Shows(ReadBmpFile(handedOver), W, H, Pattern));
  EXPECT_EQ(ReadFileBytes(sandbox.Path(L"Temp.bmp")), "the user's own picture");

  // Close all, with three open; a double click opens the menu, with Ctrl it closes.
  for (std::size_t count = 1; count <= 3; ++count) OpenAgain(sandbox, program_, count);
  ASSERT_TRUE(Choose(VisibleViewersOf(program_).front(), {'A'}));
  EXPECT_TRUE(WaitUntil([&] { return VisibleViewersOf(program_).empty(); })) << "close all";
  OpenAgain(sandbox, program_, 1);
  HWND last = VisibleViewersOf(program_).front();
  const POINT middle = MiddleOf(ClientRectOnScreen(last));
  DoubleClick(middle.x, middle.y);
  HWND menu = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (menu = FindVisibleWindow(program_, L"#32768")) != nullptr; }, 3s));
  PressKey(VK_ESCAPE);
  Settle(300);
  HoldKey(VK_CONTROL, true);
  DoubleClick(middle.x, middle.y);
  HoldKey(VK_CONTROL, false);
  EXPECT_TRUE(WaitUntil([&] { return !Visible(last); })) << "Ctrl and a double click close the viewer";

  // The picture handed over goes when the program ends.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(program_.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_FALSE(FileExists(handedOver));
}

TEST_F(Viewer, ADraggedViewerSnapsToTheScreenEdgeAndToAnotherViewer) {
  HWND a = OpenPattern("AlwaysWinMagnet=1\r\nMagPos=20\r\n", W, H);
  ASSERT_TRUE(a);
  OpenAgain(sandbox_, program_, 2);
  HWND b =
      VisibleViewersOf(program_).front() == a ? VisibleViewersOf(program_).back() : VisibleViewersOf(program_).front();
  ASSERT_NE(a, b);

  // 12 pixels from the screen's left edge: onto it.
  POINT grip = MiddleOf(ClientRectOnScreen(b));
  Drag(grip.x, grip.y, grip.x - (WindowRectOf(b).left - 12), grip.y + 100);
  EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(b).left == 0; })) << Describe(WindowRectOf(b));

  // 8 pixels right of the other viewer and 5 lower: against its right edge, tops aligned.
  const RECT other = WindowRectOf(a);
  grip = MiddleOf(ClientRectOnScreen(b));
  Drag(grip.x, grip.y, grip.x + (other.right + 8 - WindowRectOf(b).left),
       grip.y + (other.top + 5 - WindowRectOf(b).top));
  EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(b).left == other.right && WindowRectOf(b).top == other.top; }))
      << Describe(WindowRectOf(b)) << " beside " << Describe(other);
}

}  // namespace
}  // namespace e2e
