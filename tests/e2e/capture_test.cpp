// Captures as the user makes them: a rectangle dragged on the range overlay, a window picked from
// the list, the same place once more, and a save folder that refuses the files. The pictures are
// compared pixel for pixel with a window of the driver's own that shows a known pattern.

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "capture_fixture.h"
#include "driver.h"
#include "input.h"
#include "pictures.h"
#include "settings/settings_dialog_layout.h"

namespace e2e {
namespace {

int DisplayBitsPerPixel() {
  HDC screen = GetDC(nullptr);
  int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits;
}

std::wstring BaseName(const std::wstring& path) { return path.substr(0, path.find_last_of(L'.')); }

// --- Range captures --------------------------------------------------------------------------

TEST_F(CaptureRange, TheOverlayCoversTheScreenAsATranslucentWindowOwnedByTheMainWindow) {
  ASSERT_TRUE(Start("win=0\r\n"));

  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  EXPECT_FALSE(MainVisible()) << "the main window hides for the selection";
  RECT bounds{};
  GetWindowRect(overlay, &bounds);
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(bounds.left, 0);
  EXPECT_EQ(bounds.top, 0);
  EXPECT_EQ(bounds.right, desktop.right);
  EXPECT_EQ(bounds.bottom, desktop.bottom);
  EXPECT_EQ(GetWindow(overlay, GW_OWNER), main_);
  const LONG exStyle = GetWindowLongW(overlay, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(overlay, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 96);
  EXPECT_TRUE(flags & LWA_ALPHA);
  EXPECT_FALSE(GetWindowLongW(overlay, GWL_STYLE) & WS_CAPTION);

  PressKey(VK_ESCAPE);
  EXPECT_TRUE(SelectionEnded(overlay));
}

TEST_F(CaptureRange, ADragCapturesExactlyThePixelsBeneathItAndNotTheOverlay) {
  PatternWindow& target = ShowTarget();
  ASSERT_TRUE(Start("bmp=0\r\njpg=0\r\nwin=0\r\n"));

  // The check box as the user ticks it: the capture reads the box, not the start-up settings.
  HWND bmp = Control(L"Button", L"bmp");
  ASSERT_TRUE(bmp);
  ClickControl(L"Button", L"bmp");
  ASSERT_EQ(SendMessageW(bmp, BM_GETCHECK, 0, 0), BST_CHECKED);

  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  Drag(650, 340, 850, 460);
  ASSERT_TRUE(SelectionEnded(overlay));

  auto files = WaitForFiles(sandbox_.Folder(), L".bmp", 1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(FilesIn(sandbox_.Folder(), L".jpg").empty()) << "\"Jpg\" is off";
  EXPECT_EQ(BmpBitCount(files[0]), DisplayBitsPerPixel()) << "the display's depth";
  EXPECT_TRUE(ShowsPattern(ReadBmpFile(files[0]), target, {650, 340}, 200, 120));
  const std::wregex name(LR"(.*\\\d{8}_\d{6}(_\d+)?\.bmp)");
  EXPECT_TRUE(std::regex_match(files[0], name)) << Narrow(files[0]);

  // Backwards, from bottom-right to top-left, over a changed picture: the same rectangle, taken
  // afresh.
  target.SetPhase(1);
  overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  Drag(850, 460, 650, 340);
  ASSERT_TRUE(SelectionEnded(overlay));
  files = WaitForFiles(sandbox_.Folder(), L".bmp", 2);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_TRUE(ShowsPattern(ReadBmpFile(files[1]), target, {650, 340}, 200, 120));
  EXPECT_TRUE(VisibleViewers().empty()) << "\"Win\" is off";
}

TEST_F(CaptureRange, WithASecondDisplayRightAndLowerTheBandIsStillTakenFromBeneathIt) {
  PatternWindow& target = ShowTarget();
  ASSERT_TRUE(
      Start("bmp=1\r\nwin=0\r\nmDisplay_Enable=1\r\nmDisplay_PW=1920\r\nmDisplay_PH=1080\r\n"
            "mDisplay_SW=800\r\nmDisplay_SH=600\r\nmDisplay_SX=1920\r\nmDisplay_SY=200\r\n"));

  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  const RECT covered = WindowRectOf(overlay);
  EXPECT_EQ(covered.left, 0);
  EXPECT_EQ(covered.top, 0) << "the primary display is covered from its top";
  Drag(650, 340, 850, 460);
  ASSERT_TRUE(SelectionEnded(overlay));
  auto files = WaitForFiles(sandbox_.Folder(), L".bmp", 1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(ShowsPattern(ReadBmpFile(files[0]), target, {650, 340}, 200, 120));
}

TEST_F(CaptureRange, WhileDraggingTheBandIsBlueAndTheRestIsVeiledInWhite) {
  PatternWindow& target = ShowTarget();
  ASSERT_TRUE(Start("bmp=1\r\nwin=0\r\n"));

  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  DragWithoutRelease(650, 340, 810, 460);
  Settle(200);

  // Whatever the blending, blue laid over a colour lowers its red and raises its blue, and white
  // laid over it raises every channel. The points are chosen where the pattern leaves room.
  const POINT inBand{700, 400};
  const POINT outside{900, 550};
  const std::uint32_t bandBelow = target.ExpectedAt(inBand.x, inBand.y);
  const std::uint32_t veilBelow = target.ExpectedAt(outside.x, outside.y);
  ASSERT_TRUE(Red(bandBelow) > 0 && Blue(bandBelow) < 255);
  ASSERT_TRUE(Red(veilBelow) < 255 && Green(veilBelow) < 255 && Blue(veilBelow) < 255);
  const std::uint32_t band = ScreenPixels({inBand.x, inBand.y, inBand.x + 1, inBand.y + 1}).At(0, 0);
  const std::uint32_t veil = ScreenPixels({outside.x, outside.y, outside.x + 1, outside.y + 1}).At(0, 0);
  EXPECT_LT(Red(band), Red(bandBelow)) << std::hex << band;
  EXPECT_GT(Blue(band), Blue(bandBelow)) << std::hex << band;
  EXPECT_GT(Red(veil), Red(veilBelow)) << std::hex << veil;
  EXPECT_GT(Green(veil), Green(veilBelow)) << std::hex << veil;
  EXPECT_GT(Blue(veil), Blue(veilBelow)) << std::hex << veil;

  PressKey(VK_ESCAPE);
  ReleaseButton(810, 460, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(SelectionEnded(overlay));
  Settle(300);
  EXPECT_TRUE(FilesIn(sandbox_.Folder(), L".bmp").empty());
}

TEST_F(CaptureRange, ClicksTinyDragsAndOtherButtonsEndTheSelectionWithoutAFile) {
  PatternWindow& target = ShowTarget();
  ASSERT_TRUE(Start("bmp=1\r\njpg=1\r\nwin=1\r\n"));

  struct Refusal {
    const char* what;
    void (*act)();
  };
  const Refusal refusals[] = {
      {"a click without a move", [] { Click(700, 400); }},
      {"a drag of 10 x 10 pixels", [] { Drag(700, 400, 710, 410, 5); }},
      {"the right button released during a drag",
       [] {
         DragWithoutRelease(700, 400, 800, 480);
         PressButton(800, 480, MOUSEEVENTF_RIGHTDOWN);
         ReleaseButton(800, 480, MOUSEEVENTF_RIGHTUP);
         // The overlay is gone by now; the left button comes up over the pattern window.
         ReleaseButton(800, 480, MOUSEEVENTF_LEFTUP);
       }},
      {"a middle click", [] { Click(700, 400, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP); }},
  };
  const std::vector<std::wstring> before = EntriesIn(sandbox_.Folder());
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.what);
    HWND overlay = StartRangeSelection();
    ASSERT_TRUE(overlay);
    refusal.act();
    EXPECT_TRUE(SelectionEnded(overlay));
    Settle(400);
    EXPECT_EQ(EntriesIn(sandbox_.Folder()), before) << "no file is written";
    EXPECT_TRUE(VisibleViewers().empty());
  }

  // One pixel wider than the minimum is enough, in one direction only.
  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  Drag(700, 400, 711, 410, 5);
  EXPECT_TRUE(SelectionEnded(overlay));
  auto files = WaitForFiles(sandbox_.Folder(), L".bmp", 1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(ShowsPattern(ReadBmpFile(files[0]), target, {700, 400}, 11, 10));
}

TEST_F(CaptureRange, EscEndsTheSelectionAndAlwaysBringsTheMainWindowBack) {
  PatternWindow& target = ShowTarget();
  // After a capture the main window stays away here; Esc brings it back all the same.
  ASSERT_TRUE(Start("bmp=1\r\nwin=0\r\nCloseAfterCapture=1\r\nAlwaysNoCloseX=1\r\n"));

  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  DragWithoutRelease(650, 340, 810, 460);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(SelectionEnded(overlay));
  ReleaseButton(810, 460, MOUSEEVENTF_LEFTUP);
  Settle(400);
  EXPECT_TRUE(FilesIn(sandbox_.Folder(), L".bmp").empty());

  overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  Drag(650, 340, 850, 460);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(overlay); }, 5s));
  auto files = WaitForFiles(sandbox_.Folder(), L".bmp", 1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(ShowsPattern(ReadBmpFile(files[0]), target, {650, 340}, 200, 120));
  Settle(300);
  EXPECT_FALSE(MainVisible()) << "CloseAfterCapture keeps the resident program's window away";
}

TEST_F(CaptureRange, AlwaysClipBoardPutsThePictureOnTheClipboardEvenWithNoOtherOutput) {
  PatternWindow& target = ShowTarget();
  ASSERT_TRUE(Start("bmp=0\r\njpg=0\r\nwin=0\r\nAlwaysClipBoard=1\r\n"));
  PutTextOnClipboard(L"no picture yet");
  ASSERT_FALSE(ClipboardPicture());

  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  Drag(660, 350, 780, 430);
  ASSERT_TRUE(SelectionEnded(overlay));
  std::optional<Picture> copied;
  EXPECT_TRUE(WaitUntil([&] { return (copied = ClipboardPicture()).has_value(); }, 5s));
  EXPECT_TRUE(ShowsPattern(copied, target, {660, 350}, 120, 80));

  // The capture made the same-place command available although it wrote nothing.
  TickSameRect();
  target.SetPhase(3);
  PutTextOnClipboard(L"no picture yet");
  ClickCapture();
  EXPECT_TRUE(WaitUntil([&] { return (copied = ClipboardPicture()).has_value(); }, 5s));
  EXPECT_TRUE(ShowsPattern(copied, target, {660, 350}, 120, 80));
  EXPECT_TRUE(FilesIn(sandbox_.Folder(), L".bmp").empty());
  EXPECT_TRUE(FilesIn(sandbox_.Folder(), L".jpg").empty());
  EXPECT_TRUE(VisibleViewers().empty());
}

TEST_F(CaptureRange, PngChosenInTheSettingsTakesTheBmpsPlaceInTheFilesAndOnTheClipboardBeyondTheEnd) {
  PatternWindow& target = ShowTarget();
  const std::wstring shots = sandbox_.Path(L"shots");
  ASSERT_TRUE(CreateDirectoryW(shots.c_str(), nullptr));
  ASSERT_TRUE(Start("bmp=1\r\njpg=1\r\nwin=1\r\nCapturedWinPos=0\r\nAlwaysClipBoard=1\r\nAlwaysNoCloseX=0\r\n", shots));
  HWND first = Control(L"Button", L"bmp");
  ASSERT_TRUE(first);

  // PNG is chosen on the second page of the settings; the first box is named for it at once.
  HWND dialog = OpenSettingsDialog(program_, main_);
  ASSERT_TRUE(dialog);
  const RECT tabs = WindowRectOf(GetDlgItem(dialog, kmrn::Id(kmrn::SettingControl::PageTabs)));
  Click(tabs.left + 20, tabs.top + 10);
  PressKey(VK_RIGHT);
  Settle(200);
  HWND savePng = GetDlgItem(dialog, kmrn::Id(kmrn::SettingControl::SavePngCheck));
  ASSERT_TRUE(IsWindowVisible(savePng));
  EXPECT_EQ(SendMessageW(savePng, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "BMP by default";
  POINT at = CentreOf(savePng);
  Click(at.x, at.y);
  at = CentreOf(GetDlgItem(dialog, kmrn::Id(kmrn::SettingControl::OkButton)));
  Click(at.x, at.y);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
  EXPECT_NE(sandbox_.ReadIni().find("SavePng=1"), std::string::npos);
  wchar_t caption[16] = {};
  GetWindowTextW(first, caption, 16);
  EXPECT_EQ(std::wstring(caption), L"png");
  EXPECT_EQ(SendMessageW(first, BM_GETCHECK, 0, 0), BST_CHECKED) << "the same box, still ticked";
  // Its hint, under the pointer.
  const POINT box = CentreOf(first);
  MovePointer(box.x - 3, box.y);
  MovePointer(box.x, box.y);
  std::wstring hint;
  EXPECT_TRUE(WaitUntil(
      [&] {
        HWND tip = FindVisibleWindow(program_, TOOLTIPS_CLASSW);
        wchar_t text[64] = {};
        if (tip) SendMessageW(tip, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
        hint = text;
        return hint == L"PNG形式で保存します";
      },
      5s))
      << Narrow(hint);

  PutTextOnClipboard(L"no picture yet");
  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  Drag(650, 340, 850, 460);
  ASSERT_TRUE(SelectionEnded(overlay));
  auto pngs = WaitForFiles(shots, L".png", 1), jpgs = WaitForFiles(shots, L".jpg", 1);
  ASSERT_EQ(pngs.size(), 1u);
  ASSERT_EQ(jpgs.size(), 1u);
  EXPECT_TRUE(FilesIn(shots, L".bmp").empty()) << "no BMP beside the PNG";
  EXPECT_EQ(BaseName(pngs[0]), BaseName(jpgs[0]));
  EXPECT_TRUE(std::regex_match(pngs[0], std::wregex(LR"(.*\\\d{8}_\d{6}(_\d+)?\.png)"))) << Narrow(pngs[0]);
  EXPECT_EQ(ReadFileBytes(pngs[0]).substr(0, 8), "\x89PNG\r\n\x1A\n");
  const std::optional<Picture> png = ReadPngFile(pngs[0]);
  EXPECT_TRUE(ShowsPattern(png, target, {650, 340}, 200, 120));
  EXPECT_TRUE(JpegMatches(ReadJpegFile(jpgs[0]), png));
  EXPECT_TRUE(WaitUntil([&] { return VisibleViewers().size() == 1; })) << "the viewer comes last";

  // The clipboard holds the bitmap, and the PNG as soon as a program asks for it.
  EXPECT_TRUE(ShowsPattern(ClipboardPicture(), target, {650, 340}, 200, 120));
  EXPECT_TRUE(ShowsPattern(ClipboardPng(), target, {650, 340}, 200, 120));

  // A folder that refuses files: the PNG is reported, and no JPEG and no viewer follow it.
  const std::vector<std::wstring> before = EntriesIn(shots);
  target.SetPhase(1);
  {
    ReadOnlyFolder locked(shots);
    overlay = StartRangeSelection();
    ASSERT_TRUE(overlay);
    Drag(660, 350, 780, 430);
    auto box = WaitForMessageBox(program_);
    ASSERT_TRUE(box) << "no error box";
    EXPECT_TRUE(std::regex_match(Widen(box->text),
                                 std::wregex(LR"(ファイル .*\\\d{8}_\d{6}(_\d+)?\.png を作成できません\r\n[\s\S]+)")))
        << box->text;
    EXPECT_EQ(VisibleViewers().size(), 1u);
    Answer(*box, IDOK);
  }
  Settle(300);
  EXPECT_EQ(VisibleViewers().size(), 1u) << "no viewer for the failed capture";
  EXPECT_EQ(EntriesIn(shots), before) << "no file and no temporary file is left behind";

  // The program ends (its viewer with it): the last capture's PNG, never asked for yet, can
  // still be pasted.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  auto question = WaitForMessageBox(program_);
  ASSERT_TRUE(question);
  Answer(*question, IDYES);
  ASSERT_EQ(program_.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(ShowsPattern(ClipboardPng(), target, {660, 350}, 120, 80)) << "after the end";
  EXPECT_TRUE(ShowsPattern(ClipboardPicture(), target, {660, 350}, 120, 80)) << "the bitmap stays";
}

// --- Window captures -------------------------------------------------------------------------

TEST_F(CaptureWindow, TheChosenWindowIsTakenWholeToBmpAndJpegWithOneName) {
  PatternWindow& target = ShowTarget(L"window target", {500, 250, 820, 490});
  ASSERT_TRUE(Start("range=0\r\nbmp=1\r\njpg=1\r\nwin=0\r\n"));

  CaptureFromList(L"window target");
  auto bmps = WaitForFiles(sandbox_.Folder(), L".bmp", 1);
  auto jpgs = WaitForFiles(sandbox_.Folder(), L".jpg", 1);
  ASSERT_EQ(bmps.size(), 1u);
  ASSERT_EQ(jpgs.size(), 1u);
  EXPECT_EQ(BaseName(bmps[0]), BaseName(jpgs[0]));
  const std::optional<Picture> bmp = ReadBmpFile(bmps[0]);
  EXPECT_TRUE(ShowsPattern(bmp, target, {500, 250}, 320, 240));

  // The JPEG is the same picture, as near as quality 90 comes; colours in the right order.
  EXPECT_TRUE(JpegMatches(ReadJpegFile(jpgs[0]), bmp));
  const std::string jpeg = ReadFileBytes(jpgs[0]);
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(jpeg.find("\xFF\xC2"), std::string::npos) << "baseline, not progressive";

  EXPECT_TRUE(WaitUntil([&] { return MainVisible(); })) << "the main window comes back";
}

TEST_F(CaptureWindow, AlwaysWinClientTakesOnlyTheClientArea) {
  // A scroll bar in the frame: the client area does not lie in the middle between the borders.
  PatternWindow& framed = ShowTarget(L"framed target", {450, 220, 850, 560}, WS_OVERLAPPEDWINDOW | WS_VSCROLL);
  ASSERT_TRUE(Start("range=0\r\nbmp=1\r\nwin=0\r\nAlwaysWinClient=1\r\n"));

  const RECT client = framed.ClientOnScreen();
  RECT outer{};
  GetWindowRect(framed.Handle(), &outer);
  ASSERT_LT(client.left - outer.left, outer.right - client.right) << "the scroll bar widens the right border";

  CaptureFromList(L"framed target");
  auto files = WaitForFiles(sandbox_.Folder(), L".bmp", 1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(
      ShowsPattern(ReadBmpFile(files[0]), framed, {client.left, client.top}, SizeOf(client).cx, SizeOf(client).cy));
}

TEST_F(CaptureWindow, AlwaysWinClientLeavesAFramelessWindowWhole) {
  PatternWindow& target = ShowTarget(L"window target", {500, 250, 820, 490});
  ASSERT_TRUE(Start("range=0\r\nbmp=1\r\nwin=0\r\nAlwaysWinClient=1\r\n"));

  CaptureFromList(L"window target");
  auto files = WaitForFiles(sandbox_.Folder(), L".bmp", 1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(ShowsPattern(ReadBmpFile(files[0]), target, {500, 250}, 320, 240));
}

TEST_F(CaptureWindow, CapturedWinPosPlacesTheNewViewer) {
  struct Case {
    int capturedWinPos;
  };
  for (const Case& c : {Case{0}, Case{1}, Case{2}}) {
    SCOPED_TRACE("CapturedWinPos=" + std::to_string(c.capturedWinPos));
    // Two pixels from the screen's left edge (and below the main window): in the same place the
    // viewer lies one pixel beyond it, and the magnet leaves it there until the user moves it.
    StartOver();
    PatternWindow& target = ShowTarget(L"window target", {2, 400, 322, 640});
    ASSERT_TRUE(
        Start("range=0\r\nbmp=0\r\nwin=1\r\nViewWinBorder=3\r\nAlwaysWinMagnet=1\r\n"
              "MagPos=20\r\nCapturedWinPos=" +
              std::to_string(c.capturedWinPos) + "\r\n"));

    CaptureFromList(L"window target");
    std::vector<HWND> viewers;
    ASSERT_TRUE(WaitUntil([&] { return !(viewers = VisibleViewers()).empty(); })) << "no viewer";
    ASSERT_EQ(viewers.size(), 1u);
    RECT placed{};
    GetWindowRect(viewers[0], &placed);
    EXPECT_EQ(SizeOf(placed).cx, 320 + 2 * 3);
    EXPECT_EQ(SizeOf(placed).cy, 240 + 2 * 3);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(main_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    POINT expected{};
    switch (c.capturedWinPos) {
      case 0:  // centred by the captured size, not the viewer's outer size
        expected = {work.left + (work.right - work.left) / 2 - 320 / 2,
                    work.top + (work.bottom - work.top) / 2 - 240 / 2};
        break;
      case 1: expected = {work.left, work.top}; break;
      case 2: expected = {2 - 3, 400 - 3}; break;
    }
    EXPECT_EQ(placed.left, expected.x);
    EXPECT_EQ(placed.top, expected.y);
    if (c.capturedWinPos == 2) {
      // The picture lies exactly over the spot it was taken from.
      Settle(300);
      EXPECT_TRUE(ShowsPattern(ScreenPixels({2, 400, 322, 640}), target, {2, 400}, 320, 240));
    }
    EXPECT_TRUE(FilesIn(sandbox_.Folder(), L".bmp").empty()) << "\"bmp\" is off";
  }
}

TEST_F(CaptureWindow, AWindowMinimisedAfterTheListWasMadeIsRestoredAndTaken) {
  PatternWindow& target = ShowTarget(L"window target", {500, 250, 820, 490});
  ASSERT_TRUE(Start("range=0\r\nbmp=1\r\nwin=0\r\n"));

  ShowWindow(target.Handle(), SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(target.Handle()) != 0; }, 3s));
  CaptureFromList(L"window target");
  auto files = WaitForFiles(sandbox_.Folder(), L".bmp", 1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_FALSE(IsIconic(target.Handle()));
  EXPECT_TRUE(ShowsPattern(ReadBmpFile(files[0]), target, {500, 250}, 320, 240));
}

TEST_F(CaptureWindow, ADisabledOrVanishedWindowIsNotTaken) {
  PatternWindow& target = ShowTarget(L"window target", {500, 250, 820, 490});
  ASSERT_TRUE(Start("range=0\r\nbmp=1\r\nwin=1\r\n"));
  const std::vector<std::wstring> before = EntriesIn(sandbox_.Folder());

  EnableWindow(target.Handle(), FALSE);
  CaptureFromList(L"window target");
  Settle(800);
  EXPECT_EQ(EntriesIn(sandbox_.Folder()), before);
  EXPECT_TRUE(MainVisible()) << "nothing was hidden";
  EXPECT_TRUE(VisibleViewers().empty());

  // Gone after the list was made: its item stays, but there is nothing to take.
  target_.reset();
  ClickCapture();
  Settle(800);
  EXPECT_EQ(EntriesIn(sandbox_.Folder()), before);
  EXPECT_TRUE(MainVisible());
  EXPECT_TRUE(VisibleViewers().empty());
}

// The pattern window's pixels from the screen point origin on, with the pointer drawn over them by
// the system itself, its hotspot at `at`.
Picture PatternWithPointer(const PatternWindow& window, POINT origin, int width, int height, HCURSOR pointer,
                           POINT at) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(memory, section);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels[y * width + x] = window.ExpectedAt(origin.x + x, origin.y + y);
  }
  ICONINFO icon{};
  GetIconInfo(pointer, &icon);
  if (icon.hbmMask) DeleteObject(icon.hbmMask);
  if (icon.hbmColor) DeleteObject(icon.hbmColor);
  DrawIconEx(memory, at.x - origin.x - static_cast<int>(icon.xHotspot),
             at.y - origin.y - static_cast<int>(icon.yHotspot), pointer, 0, 0, 0, nullptr, DI_NORMAL);
  GdiFlush();
  Picture picture{width, height, {}};
  for (int i = 0; i < width * height; ++i) picture.pixels.push_back(pixels[i] & 0xFFFFFF);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(section);
  return picture;
}

// The pixels of the picture that differ from the expected ones, the first few described; a picture
// of another size differs whole.
::testing::AssertionResult SamePixels(const std::optional<Picture>& picture, const Picture& expected) {
  if (!picture || picture->width != expected.width || picture->height != expected.height) {
    return ::testing::AssertionFailure() << "no picture of the expected size";
  }
  int differing = 0;
  std::string report;
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      const std::uint32_t got = picture->At(x, y) & 0xFFFFFF, wanted = expected.At(x, y);
      if (got == wanted) continue;
      if (++differing <= 8) {
        char line[96];
        std::snprintf(line, sizeof line, "(%d,%d): got %06X, expected %06X\n", x, y, static_cast<unsigned>(got),
                      static_cast<unsigned>(wanted));
        report += line;
      }
    }
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ:\n" << report;
}

TEST_F(CaptureWindow, CaptureCursorDrawsThePointerWhereItWasIntoTheFileTheClipboardAndTheViewer) {
  // The pattern window lies beneath the main window's Capture button: the main window hides for
  // the capture, and the picture shows the pattern with the pointer that pressed the button. The
  // pointer is the program's own arrow (under Wine another program's pointer cannot be read), the
  // same shape the system gives the driver.
  for (bool on : {true, false}) {
    SCOPED_TRACE(on ? "CaptureCursor=1" : "CaptureCursor=0");
    StartOver();
    PatternWindow& target = ShowTarget(L"pointer target", {0, 0, 640, 480});
    ASSERT_TRUE(
        Start(std::string("range=0\r\nbmp=1\r\nwin=1\r\nCapturedWinPos=0\r\nAlwaysClipBoard=1\r\nCaptureCursor=") +
              (on ? "1" : "0") + "\r\n"));
    PutTextOnClipboard(L"no picture yet");
    const POINT button = CentreOf(Control(L"Button", L"Capture"));
    ASSERT_TRUE(button.x < 600 && button.y < 440) << "the Capture button lies over the pattern";
    ASSERT_EQ(GetAncestor(WindowFromPoint(button), GA_ROOT), main_) << "the main window is above the pattern";

    CaptureFromList(L"pointer target");
    auto files = WaitForFiles(sandbox_.Folder(), L".bmp", 1);
    ASSERT_EQ(files.size(), 1u);
    const std::optional<Picture> bmp = ReadBmpFile(files[0]);
    if (!on) {
      EXPECT_TRUE(ShowsPattern(bmp, target, {0, 0}, 640, 480)) << "no pointer";
      continue;
    }
    const Picture expected = PatternWithPointer(target, {0, 0}, 640, 480, LoadCursorW(nullptr, IDC_ARROW), button);
    const int pointerPixels = CountDifferences(expected, target, {0, 0}, nullptr);
    EXPECT_GT(pointerPixels, 50) << "the arrow changes the pattern";
    EXPECT_TRUE(SamePixels(bmp, expected)) << "the file";
    std::optional<Picture> clipboard;
    EXPECT_TRUE(WaitUntil([&] { return (clipboard = ClipboardPicture()).has_value(); }));
    EXPECT_TRUE(SamePixels(clipboard, expected)) << "the clipboard";
    // The viewer, in the middle of the work area clear of the main window, shows the same picture.
    std::vector<HWND> viewers;
    ASSERT_TRUE(WaitUntil([&] { return !(viewers = VisibleViewers()).empty(); })) << "no viewer";
    const RECT client = ClientRectOnScreen(viewers[0]);
    ASSERT_EQ(SizeOf(client).cx, 640);
    ASSERT_EQ(SizeOf(client).cy, 480);
    WaitUntil([&] { return SamePixels(ScreenPixels(client), expected); }, 3s);
    EXPECT_TRUE(SamePixels(ScreenPixels(client), expected)) << "the viewer";
  }
}

// --- The same place again --------------------------------------------------------------------

TEST_F(CaptureSameRect, TheLastRectangleIsTakenAgainWithoutTheOverlay) {
  PatternWindow& target = ShowTarget();
  ASSERT_TRUE(Start("bmp=1\r\nwin=0\r\n"));

  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  Drag(640, 330, 760, 420);
  ASSERT_TRUE(SelectionEnded(overlay));
  ASSERT_EQ(WaitForFiles(sandbox_.Folder(), L".bmp", 1).size(), 1u);

  TickSameRect();
  target.SetPhase(2);
  ClickCapture();
  // No drag is given: a second file can only come from the remembered rectangle.
  auto files = WaitForFiles(sandbox_.Folder(), L".bmp", 2);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_TRUE(ShowsPattern(ReadBmpFile(files[1]), target, {640, 330}, 120, 90));
  EXPECT_FALSE(IsWindowVisible(overlay));
  EXPECT_TRUE(WaitUntil([&] { return MainVisible(); }));
}

// --- A folder that refuses the files ---------------------------------------------------------

TEST_F(CaptureFailure, AnUnwritableFolderIsReportedAndEverythingComesBack) {
  ShowTarget();
  const std::wstring shots = sandbox_.Path(L"shots");
  ASSERT_TRUE(CreateDirectoryW(shots.c_str(), nullptr));
  ASSERT_TRUE(Start("bmp=1\r\njpg=1\r\nwin=1\r\nCapturedWinPos=2\r\nAlwaysHideView=1\r\n", shots));

  // A first capture while the folder takes files leaves a viewer, which hides for the next one.
  HWND overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  Drag(650, 340, 850, 460);
  ASSERT_TRUE(SelectionEnded(overlay));
  ASSERT_EQ(WaitForFiles(shots, L".jpg", 1).size(), 1u);
  std::vector<HWND> viewers;
  ASSERT_TRUE(WaitUntil([&] { return (viewers = VisibleViewers()).size() == 1; }));
  const std::vector<std::wstring> before = EntriesIn(shots);
  ASSERT_EQ(before.size(), 2u);

  ReadOnlyFolder locked(shots);
  const std::wregex refused(
      LR"(ファイル .*\\\d{8}_\d{6}(_\d+)?\.bmp を作成できません\r\nCreateFileW が失敗しました: [\s\S]+ \(エラー 5\))");

  // From the overlay.
  overlay = StartRangeSelection();
  ASSERT_TRUE(overlay);
  Drag(650, 340, 850, 460);
  auto box = WaitForMessageBox(program_);
  ASSERT_TRUE(box) << "no error box";
  EXPECT_EQ(box->caption, "Kamerin");
  EXPECT_TRUE(std::regex_match(Widen(box->text), refused)) << box->text;
  EXPECT_NE(box->text.find(Narrow(shots) + "\\"), std::string::npos) << box->text;
  EXPECT_TRUE(MainVisible()) << "the main window is back";
  EXPECT_TRUE(IsWindowVisible(viewers[0])) << "the hidden viewer is back";
  EXPECT_FALSE(IsWindowVisible(overlay));
  Answer(*box, IDOK);
  EXPECT_EQ(VisibleViewers().size(), 1u) << "no viewer for the failed capture";

  // The same place again, from the button.
  TickSameRect();
  ClickCapture();
  box = WaitForMessageBox(program_);
  ASSERT_TRUE(box) << "no error box";
  EXPECT_TRUE(std::regex_match(Widen(box->text), refused)) << box->text;
  EXPECT_TRUE(MainVisible());
  EXPECT_TRUE(IsWindowVisible(viewers[0]));
  Answer(*box, IDOK);

  // Without the BMP the JPEG is refused, after the new viewer was made ready: it never shows.
  ClickControl(L"Button", L"bmp");
  ClickCapture();
  box = WaitForMessageBox(program_);
  ASSERT_TRUE(box) << "no error box";
  EXPECT_NE(box->text.find(".jpg を作成できません"), std::string::npos) << box->text;
  EXPECT_EQ(VisibleViewers(), viewers) << "no viewer while the error shows";
  Answer(*box, IDOK);
  Settle(300);
  EXPECT_EQ(VisibleViewers(), viewers) << "no viewer for the failed capture";

  EXPECT_EQ(EntriesIn(shots), before) << "no file and no temporary file is left behind";
}

}  // namespace
}  // namespace e2e
