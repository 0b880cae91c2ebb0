// The viewer windows as the user meets them: a picture file opened on the command line lands in a
// framed viewer centred in the work area, which can be dragged, zoomed with the wheel and closed
// with a middle click, with or without a fade-out; viewers step aside while a range is chosen and
// closed ones are destroyed together once none is open.

#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "driver.h"
#include "input.h"
#include "pictures.h"
#include "viewer_fixture.h"

namespace e2e {
namespace {

// The zoom percentage label: the viewer's static child.
HWND ZoomLabelOf(HWND viewer) { return FindWindowExW(viewer, nullptr, L"Static", nullptr); }

std::string TextOf(HWND window) {
  wchar_t text[64] = {};
  GetWindowTextW(window, text, 64);
  return Narrow(text);
}

// Presses the main window's Capture button (range mode): the main window and the viewers go,
// the range overlay comes.
void PressCaptureButton(HWND main) {
  HWND button = FindChild(main, L"BUTTON", L"Capture");
  ASSERT_TRUE(button) << "no Capture button";
  const POINT centre = CentreOf(button);
  Click(centre.x, centre.y);
}

// A click without a drag on the range overlay ends the selection without a capture; the viewers
// hidden for it come back.
void EndRangeSelectionWithoutCapture(const Process& program) {
  HWND overlay = nullptr;
  ASSERT_TRUE(
      WaitUntil([&] { return (overlay = FindVisibleWindow(program, nullptr, L"FormKN_Serect")) != nullptr; }, 5s))
      << "the range overlay did not show";
  Settle(200);
  Click(1700, 900);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(overlay); }, 5s)) << "the range overlay stayed";
}

void MiddleClick(POINT at) { Click(at.x, at.y, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP); }

TEST_F(Viewer, AnOpenedPictureIsCentredInItsFrameAndShownExactly) {
  // 0x00336699: red 0x99, green 0x66, blue 0x33.
  HWND viewer = OpenPattern("ViewWinBorder=3\r\nViewWinColor=3368601\r\n", 101, 51);
  ASSERT_TRUE(viewer);

  const RECT outer = WindowRectOf(viewer), client = ClientRectOnScreen(viewer);
  EXPECT_EQ(SizeOf(client).cx, 101);
  EXPECT_EQ(SizeOf(client).cy, 51);
  EXPECT_EQ(SizeOf(outer).cx, 101 + 2 * 3) << Describe(outer);
  EXPECT_EQ(SizeOf(outer).cy, 51 + 2 * 3) << Describe(outer);
  EXPECT_EQ(client.left - outer.left, 3);
  EXPECT_EQ(client.top - outer.top, 3);

  const RECT work = WorkArea();
  EXPECT_EQ(outer.left, work.left + (work.right - work.left) / 2 - 107 / 2) << Describe(outer);
  EXPECT_EQ(outer.top, work.top + (work.bottom - work.top) / 2 - 57 / 2) << Describe(outer);

  std::string difference;
  EXPECT_TRUE(
      WaitUntil([&] { return (difference = CompareViewerPixels(viewer, RGB(0x99, 0x66, 0x33), Pattern)).empty(); }, 5s))
      << difference;

  // Owned by the main window: no taskbar button of its own, and above the main window.
  EXPECT_EQ(GetWindow(viewer, GW_OWNER), main_);
  EXPECT_FALSE(GetWindowLongW(viewer, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindowLongW(viewer, GWL_STYLE) & WS_CAPTION);
  EXPECT_FALSE(GetWindowLongW(viewer, GWL_STYLE) & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(viewer, GWL_EXSTYLE) & WS_EX_TOPMOST) << "always on top by default";
  EXPECT_FALSE(GetWindowLongW(viewer, GWL_EXSTYLE) & WS_EX_LAYERED) << "no fade-out, no alpha blending";
  EXPECT_EQ(GetForegroundWindow(), viewer) << "an opened picture gets the focus";
}

TEST_F(Viewer, ANegativeBorderFromAHandEditedFileGivesNoFrame) {
  HWND viewer = OpenPattern("ViewWinBorder=-4\r\n", 40, 30);
  ASSERT_TRUE(viewer);
  EXPECT_EQ(SizeOf(WindowRectOf(viewer)).cx, 40);
  EXPECT_EQ(SizeOf(WindowRectOf(viewer)).cy, 30);
  EXPECT_EQ(SizeOf(ClientRectOnScreen(viewer)).cx, 40);
  std::string difference;
  EXPECT_TRUE(WaitUntil([&] { return (difference = CompareViewerPixels(viewer, 0, Pattern)).empty(); }, 5s))
      << difference;
}

TEST_F(Viewer, DraggingThePictureMovesTheWindowByTheDragDistance) {
  HWND viewer = OpenPattern("", 101, 51);
  ASSERT_TRUE(viewer);
  const RECT before = WindowRectOf(viewer);
  const POINT from = MiddleOf(ClientRectOnScreen(viewer));
  Drag(from.x, from.y, from.x + 150, from.y + 80);
  Settle();
  const RECT after = WindowRectOf(viewer);
  EXPECT_EQ(after.left - before.left, 150) << Describe(before) << " -> " << Describe(after);
  EXPECT_EQ(after.top - before.top, 80) << Describe(before) << " -> " << Describe(after);
  EXPECT_EQ(SizeOf(after).cx, SizeOf(before).cx);
  std::string difference;
  EXPECT_TRUE(
      WaitUntil([&] { return (difference = CompareViewerPixels(viewer, RGB(0x80, 0x80, 0xFF), Pattern)).empty(); }, 5s))
      << difference;

  // A drag on the frame is no drag of the picture.
  Drag(after.left, after.top, after.left + 60, after.top + 60);
  Settle();
  EXPECT_EQ(WindowRectOf(viewer).left, after.left);
  EXPECT_EQ(WindowRectOf(viewer).top, after.top);
}

TEST_F(Viewer, TheWheelZoomsInStepsFromThePictureAsCreated) {
  HWND viewer = OpenPattern("ViewWinWheelStretch=1\r\n", 101, 51);
  ASSERT_TRUE(viewer);
  const RECT start = WindowRectOf(viewer);

  // 50 %: integer division, and the window stays about where it was (old outer size against the
  // new picture size).
  ASSERT_TRUE(WheelTo(viewer, -1, {50, 25})) << Describe(ClientRectOnScreen(viewer));
  RECT now = WindowRectOf(viewer);
  EXPECT_EQ(SizeOf(now).cx, 54);
  EXPECT_EQ(SizeOf(now).cy, 29);
  EXPECT_EQ(now.left, start.left + (105 - 50) / 2);
  EXPECT_EQ(now.top, start.top + (55 - 25) / 2);
  HWND label = ZoomLabelOf(viewer);
  ASSERT_TRUE(label);
  EXPECT_TRUE(Visible(label));
  EXPECT_EQ(TextOf(label), " 50% ");

  ASSERT_TRUE(WheelTo(viewer, -1, {25, 12}));
  EXPECT_EQ(TextOf(label), " 25% ");
  // At 25 % the wheel down does nothing.
  const RECT at25 = WindowRectOf(viewer);
  const POINT centre = MiddleOf(ClientRectOnScreen(viewer));
  Wheel(centre.x, centre.y, -1);
  Settle(300);
  EXPECT_EQ(SizeOf(ClientRectOnScreen(viewer)).cx, 25);
  EXPECT_EQ(WindowRectOf(viewer).left, at25.left);
  EXPECT_EQ(TextOf(label), " 25% ");

  // Back up: 100 % is the picture as created, 101 x 51, not twice 50 x 25.
  ASSERT_TRUE(WheelTo(viewer, 1, {50, 25}));
  ASSERT_TRUE(WheelTo(viewer, 1, {101, 51})) << Describe(ClientRectOnScreen(viewer));
  EXPECT_EQ(TextOf(label), " 100% ");
  // The label stands still for a while at the top-left corner, then slides out to the left.
  RECT labelRect = WindowRectOf(label);
  EXPECT_EQ(labelRect.left, ClientRectOnScreen(viewer).left);
  EXPECT_EQ(labelRect.top, ClientRectOnScreen(viewer).top);
  EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(label).right <= ClientRectOnScreen(viewer).left; }, 5s))
      << "the label did not slide out: " << Describe(WindowRectOf(label));
  std::string difference;
  EXPECT_TRUE(
      WaitUntil([&] { return (difference = CompareViewerPixels(viewer, RGB(0x80, 0x80, 0xFF), Pattern)).empty(); }, 5s))
      << "100 % again: " << difference;

  // Enlarging repeats every pixel exactly.
  ASSERT_TRUE(WheelTo(viewer, 1, {202, 102}));
  // The label has the frame's colour as background (black text on the default light frame).
  labelRect = WindowRectOf(label);
  EXPECT_EQ(TextOf(label), " 200% ");
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixels(labelRect).At(1, 1) == 0x8080FFu; }, 2s));
  EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(label).right <= ClientRectOnScreen(viewer).left; }, 5s));
  EXPECT_TRUE(WaitUntil(
      [&] { return (difference = CompareViewerPixels(viewer, RGB(0x80, 0x80, 0xFF), Pattern, 2)).empty(); }, 5s))
      << "200 %: " << difference;

  ASSERT_TRUE(WheelTo(viewer, 1, {404, 204}));
  const RECT at400 = WindowRectOf(viewer);
  const POINT middle = MiddleOf(ClientRectOnScreen(viewer));
  Wheel(middle.x, middle.y, 1);
  Settle(300);
  EXPECT_EQ(SizeOf(ClientRectOnScreen(viewer)).cx, 404) << "no step beyond 400 %";
  EXPECT_EQ(WindowRectOf(viewer).left, at400.left);
  EXPECT_EQ(TextOf(label), " 400% ");
  EXPECT_TRUE(MessageBoxesOf(program_).empty());
}

TEST_F(Viewer, ShrinkingAveragesThePixelsItMerges) {
  // Red and green rise by 4 and 8 per pixel; blue alternates black and full. Each pixel at 50 %
  // is the mean of the two by two it stands for, at 25 % of four by four.
  const Pixel picture = [](int x, int y) { return RGB(x * 4, y * 8, (x + y) % 2 ? 255 : 0); };
  HWND viewer = Open("ViewWinWheelStretch=1\r\n", Bmp24(64, 32, picture));
  ASSERT_TRUE(viewer);
  HWND label = ZoomLabelOf(viewer);
  std::string difference;
  const struct {
    int cells;  // source pixels per side of one shown pixel
    SIZE size;
  } kSteps[] = {{2, {32, 16}}, {4, {16, 8}}};
  for (const auto& step : kSteps) {
    SCOPED_TRACE(step.cells);
    ASSERT_TRUE(WheelTo(viewer, -1, step.size));
    ASSERT_TRUE(WaitUntil([&] { return WindowRectOf(label).right <= ClientRectOnScreen(viewer).left; }, 5s));
    const int n = step.cells;
    const Pixel averaged = [n](int x, int y) {
      // The mean of red x·4 over n neighbours, of green y·8, and of blue half on, half off (rounded up).
      return RGB(4 * n * x + 2 * (n - 1), 8 * n * y + 4 * (n - 1), 128);
    };
    EXPECT_TRUE(WaitUntil(
        [&] { return (difference = CompareViewerPixels(viewer, RGB(0x80, 0x80, 0xFF), averaged)).empty(); }, 5s))
        << difference;
  }
}

TEST_F(Viewer, TheWheelDoesNothingWhenWheelZoomIsOff) {
  HWND viewer = OpenPattern("ViewWinWheelStretch=0\r\n", 101, 51);
  ASSERT_TRUE(viewer);
  const RECT before = WindowRectOf(viewer);
  const POINT centre = MiddleOf(ClientRectOnScreen(viewer));
  Wheel(centre.x, centre.y, -1);
  Wheel(centre.x, centre.y, 1);
  Wheel(centre.x, centre.y, 1);
  Settle(300);
  const RECT after = WindowRectOf(viewer);
  EXPECT_EQ(SizeOf(after).cx, 105);
  EXPECT_EQ(SizeOf(after).cy, 55);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  HWND label = ZoomLabelOf(viewer);
  EXPECT_TRUE(!label || !Visible(label));
}

TEST_F(Viewer, AMiddleClickDoesNotCloseWhenWheelCloseIsOff) {
  HWND viewer = OpenPattern("ViewWinWheelClose=0\r\n", 60, 40);
  ASSERT_TRUE(viewer);
  const POINT centre = MiddleOf(ClientRectOnScreen(viewer));
  Click(centre.x, centre.y, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
  Settle(500);
  EXPECT_TRUE(Visible(viewer));
}

TEST_F(Viewer, AMiddleClickClosesWhenWheelCloseIsOn) {
  HWND viewer = OpenPattern("ViewWinWheelClose=1\r\n", 60, 40);
  ASSERT_TRUE(viewer);
  const POINT centre = MiddleOf(ClientRectOnScreen(viewer));
  Click(centre.x, centre.y, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
  EXPECT_TRUE(WaitUntil([&] { return !Visible(viewer); }, 1s));
  // Closed viewers stay as hidden windows until the registry frees them all at once.
  EXPECT_TRUE(IsWindow(viewer));
  Settle(300);
  EXPECT_FALSE(Visible(viewer));
  EXPECT_TRUE(program_.Running());
}

TEST_F(Viewer, ClosingFadesOutWhenAlphaCloseIsOn) {
  HWND viewer = OpenPattern("ViewWinWheelClose=1\r\nViewWinAlphaClose=1\r\n", 60, 40);
  ASSERT_TRUE(viewer);
  // Ready to fade from the start: a layered window, fully opaque.
  ASSERT_TRUE(GetWindowLongW(viewer, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(viewer, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 255);
  EXPECT_TRUE(flags & LWA_ALPHA);

  const POINT centre = MiddleOf(ClientRectOnScreen(viewer));
  MovePointer(centre.x, centre.y);
  PressButton(centre.x, centre.y, MOUSEEVENTF_MIDDLEDOWN);
  const auto released = std::chrono::steady_clock::now();
  ReleaseButton(centre.x, centre.y, MOUSEEVENTF_MIDDLEUP);
  EXPECT_TRUE(Visible(viewer)) << "the fade takes 13 ticks of 10 ms";

  BYTE lowestSeen = 255;
  ASSERT_TRUE(WaitUntil(
      [&] {
        BYTE now = 255;
        if (GetLayeredWindowAttributes(viewer, nullptr, &now, nullptr) && Visible(viewer) && now < lowestSeen) {
          lowestSeen = now;
        }
        return !Visible(viewer);
      },
      2s));
  const auto gone = std::chrono::steady_clock::now() - released;
  EXPECT_GE(gone, 120ms);
  EXPECT_LE(gone, 1500ms);
  EXPECT_LT(lowestSeen, 255) << "the window grew transparent before it went";
  EXPECT_TRUE(IsWindow(viewer));
  Settle(300);
  EXPECT_FALSE(Visible(viewer));
}

TEST_F(Viewer, AZoomStepTooLargeForMemoryIsReportedAndChangesNothing) {
  // 8000 x 600: 200 % is 16000 x 1200 (77 MB at 32 bits); 400 % would be 32000 x 2400 (307 MB).
  HWND viewer = Open("ViewWinWheelStretch=1\r\n", Bmp1(8000, 600));
  ASSERT_TRUE(viewer);
  ASSERT_TRUE(WheelTo(viewer, 1, {16000, 1200})) << Describe(ClientRectOnScreen(viewer));
  const RECT at200 = WindowRectOf(viewer);

  const POINT centre{960, 540};
  Wheel(centre.x, centre.y, 1);
  auto box = WaitForMessageBox(program_);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "Kamerin");
  EXPECT_EQ(box->text, "画像が大きすぎます (32000 x 2400)");
  Answer(*box, IDOK);
  EXPECT_TRUE(program_.Running());
  EXPECT_TRUE(Visible(viewer));
  const RECT after = WindowRectOf(viewer);
  EXPECT_EQ(after.left, at200.left);
  EXPECT_EQ(after.top, at200.top);
  EXPECT_EQ(SizeOf(after).cx, 16004);
  EXPECT_EQ(TextOf(ZoomLabelOf(viewer)), " 200% ");

  // The refused step left the level at 200 %: one step down is 100 %.
  ASSERT_TRUE(WheelTo(viewer, -1, {8000, 600})) << Describe(ClientRectOnScreen(viewer));
}

TEST_F(Viewer, AViewerHiddenForACaptureComesBackWhereItWasDragged) {
  // AlwaysHideView is on by default.
  HWND viewer = OpenPattern("bmp=0\r\njpg=0\r\n", 101, 51);
  ASSERT_TRUE(viewer);
  const RECT before = WindowRectOf(viewer);
  const POINT from = MiddleOf(ClientRectOnScreen(viewer));
  Drag(from.x, from.y, from.x - 200, from.y + 120);
  Settle();
  const RECT dragged = WindowRectOf(viewer);
  ASSERT_EQ(dragged.left, before.left - 200) << Describe(dragged);
  ASSERT_EQ(dragged.top, before.top + 120) << Describe(dragged);

  PressCaptureButton(main_);
  ASSERT_TRUE(WaitUntil([&] { return !Visible(viewer); }, 5s)) << "viewers hide while the range is chosen";
  EndRangeSelectionWithoutCapture(program_);
  ASSERT_TRUE(WaitUntil([&] { return Visible(viewer); }, 5s)) << "the viewer did not come back";
  const RECT back = WindowRectOf(viewer);
  EXPECT_EQ(back.left, dragged.left) << Describe(back);
  EXPECT_EQ(back.top, dragged.top) << Describe(back);
  std::string difference;
  EXPECT_TRUE(
      WaitUntil([&] { return (difference = CompareViewerPixels(viewer, RGB(0x80, 0x80, 0xFF), Pattern)).empty(); }, 5s))
      << difference;

  // Esc on the overlay brings it back too.
  PressCaptureButton(main_);
  ASSERT_TRUE(WaitUntil([&] { return !Visible(viewer); }, 5s));
  HWND overlay = nullptr;
  ASSERT_TRUE(
      WaitUntil([&] { return (overlay = FindVisibleWindow(program_, nullptr, L"FormKN_Serect")) != nullptr; }, 5s));
  Settle(200);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !Visible(overlay) && Visible(viewer); }, 5s)) << "the viewer stayed hidden";
  EXPECT_EQ(WindowRectOf(viewer).left, dragged.left);
}

TEST_F(Viewer, ClosedViewersStayHiddenAndGoAllAtOnceWhenNoneIsOpen) {
  HWND big = OpenPattern("ViewWinWheelClose=1\r\nbmp=0\r\njpg=0\r\n", 240, 120);
  ASSERT_TRUE(big);
  // A second start hands a smaller picture to the running program: a second viewer, centred over
  // the first.
  WriteFileBytes(sandbox_.Path(L"small.bmp"), Bmp24(40, 30, Pattern));
  Process second = sandbox_.Start({sandbox_.Path(L"small.bmp")});
  EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
  HWND small = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND viewer : ViewersOf(program_)) {
      if (viewer != big && Visible(viewer)) small = viewer;
    }
    return small != nullptr;
  }));

  // Close the big one by a click beside the small one.
  const RECT bigClient = ClientRectOnScreen(big);
  MiddleClick({bigClient.left + 10, bigClient.top + 10});
  ASSERT_TRUE(WaitUntil([&] { return !Visible(big); }, 2s));
  EXPECT_TRUE(Visible(small));

  // One viewer is still open: the closed one is kept, and it is not shown again after the capture.
  PressCaptureButton(main_);
  ASSERT_TRUE(WaitUntil([&] { return !Visible(small); }, 5s));
  EndRangeSelectionWithoutCapture(program_);
  ASSERT_TRUE(WaitUntil([&] { return Visible(small); }, 5s));
  Settle(300);
  EXPECT_TRUE(IsWindow(big));
  EXPECT_FALSE(Visible(big)) << "a closed viewer came back";

  // None open: the next capture from the button destroys every viewer first.
  MiddleClick(MiddleOf(ClientRectOnScreen(small)));
  ASSERT_TRUE(WaitUntil([&] { return !Visible(small); }, 2s));
  EXPECT_TRUE(IsWindow(small));
  PressCaptureButton(main_);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(big) && !IsWindow(small); }, 5s));
  EXPECT_TRUE(ViewersOf(program_).empty());
  EndRangeSelectionWithoutCapture(program_);
}

// "閉じた表示を戻す": a viewer the user closed comes back where it was, at its zoom, turned and
// mirrored as it was, the newest first; with nothing kept, a box says so.
TEST_F(Viewer, AClosedViewerComesBackWhereItWasZoomedTurnedAndMirrored) {
  HWND first = OpenPattern("ViewWinWheelStretch=1\r\n", 61, 41);
  ASSERT_TRUE(first);
  ASSERT_TRUE(WheelTo(first, -1, {30, 20}));
  ASSERT_TRUE(Choose(first, {'E', 'R'}));
  ASSERT_TRUE(Choose(first, {'E', 'L'}));
  const POINT grip = MiddleOf(ClientRectOnScreen(first));
  Drag(grip.x, grip.y, grip.x + 37, grip.y + 23);
  Settle(300);
  const RECT place = WindowRectOf(first);
  const Picture shown = ScreenPixels(ClientRectOnScreen(first));
  ASSERT_EQ(shown.width, 20) << "turned";
  ASSERT_TRUE(Choose(first, {'Q'}));
  ASSERT_TRUE(WaitUntil([&] { return VisibleViewersOf(program_).empty(); }));

  ChooseFromMainMenu(main_, 'Z');
  std::vector<HWND> back;
  ASSERT_TRUE(WaitUntil([&] { return !(back = VisibleViewersOf(program_)).empty(); })) << "nothing came back";
  Settle(300);
  EXPECT_EQ(Describe(WindowRectOf(back.front())), Describe(place));
  const Picture again = ScreenPixels(ClientRectOnScreen(back.front()));
  EXPECT_EQ(again.pixels, shown.pixels);
  EXPECT_EQ(GetForegroundWindow(), back.front());

  // The one brought back is no longer kept.
  ChooseFromMainMenu(main_, 'Z');
  auto box = WaitForMessageBox(program_);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "戻せる表示がありません");
  Answer(*box, IDOK);
  EXPECT_EQ(VisibleViewersOf(program_).size(), 1u);

  // The program's own copy pins again as it shows.
  ASSERT_TRUE(Choose(back.front(), {'C'}));
  ChooseFromMainMenu(main_, 'V');
  std::vector<HWND> pinned;
  ASSERT_TRUE(WaitUntil([&] { return (pinned = VisibleViewersOf(program_)).size() == 2; }));
  Settle(300);
  HWND copy = pinned.front() == back.front() ? pinned.back() : pinned.front();
  EXPECT_EQ(ScreenPixels(ClientRectOnScreen(copy)).pixels, shown.pixels);
}

// A drop target of the driver's, as a chat or a folder would be: it takes what a drop offers as a
// file, the "PNG" format and a DIB.
class PictureDropTarget final : public IDropTarget {
 public:
  struct Dropped {
    std::wstring file;
    std::string png, dib;
  };

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
      *object = static_cast<IDropTarget*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    Dropped dropped;
    dropped.png = Bytes(data, static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"PNG")));
    dropped.dib = Bytes(data, CF_DIB);
    const std::string drop = Bytes(data, CF_HDROP);
    if (drop.size() > sizeof(DROPFILES)) {
      dropped.file =
          reinterpret_cast<const wchar_t*>(drop.data() + reinterpret_cast<const DROPFILES*>(drop.data())->pFiles);
    }
    {
      std::lock_guard lock(mutex_);
      dropped_ = std::move(dropped);
    }
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  std::optional<Dropped> Taken() {
    std::lock_guard lock(mutex_);
    return dropped_;
  }

 private:
  static std::string Bytes(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data->GetData(&wanted, &medium) != S_OK) return {};
    std::string bytes;
    if (const auto* first = static_cast<const char*>(GlobalLock(medium.hGlobal))) {
      bytes.assign(first, GlobalSize(medium.hGlobal));
      GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return bytes;
  }

  std::mutex mutex_;
  std::optional<Dropped> dropped_;
};

// Ctrl and a left drag take the picture out of a viewer: a target gets it as a PNG file under a
// capture's name, as "PNG" and as a DIB, each exactly the picture, and the viewer stays where it was.
TEST_F(Viewer, CtrlAndADragTakeThePictureOutAsAFileAPngAndABitmap) {
  HWND viewer = OpenPattern("", 40, 30);
  ASSERT_TRUE(viewer);
  const RECT before = WindowRectOf(viewer);
  PictureDropTarget target;
  WindowThread targetWindow([&] {
    OleInitialize(nullptr);
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"drop here", WS_POPUP | WS_VISIBLE,
                                  1300, 600, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    RegisterDragDrop(window, &target);
    return window;
  });
  Settle(300);

  const POINT from = MiddleOf(ClientRectOnScreen(viewer));
  HoldKey(VK_CONTROL, true);
  PressButton(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 10; ++step) {
    MovePointer(from.x + (1450 - from.x) * step / 10, from.y + (700 - from.y) * step / 10);
    Settle(60);
  }
  ReleaseButton(1450, 700, MOUSEEVENTF_LEFTUP);
  HoldKey(VK_CONTROL, false);
  std::optional<PictureDropTarget::Dropped> dropped;
  ASSERT_TRUE(WaitUntil([&] { return (dropped = target.Taken()).has_value(); }, 5s)) << "nothing was dropped";
  RevokeDragDrop(targetWindow.Handle());

  auto isPattern = [](const std::optional<Picture>& picture) {
    if (!picture || picture->width != 40 || picture->height != 30) return false;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        const std::uint32_t c = picture->At(x, y);
        if (RGB(Red(c), Green(c), Blue(c)) != Pattern(x, y)) return false;
      }
    }
    return true;
  };
  const std::wstring name = dropped->file.substr(dropped->file.find_last_of(L'\\') + 1);
  EXPECT_TRUE(std::regex_match(Narrow(name), std::regex("\\d{8}_\\d{6}(_\\d+)?\\.png"))) << Narrow(dropped->file);
  EXPECT_TRUE(isPattern(ReadPngFile(dropped->file))) << "the file";
  const std::wstring pngCopy = sandbox_.Path(L"dropped.png"), dibCopy = sandbox_.Path(L"dropped.bmp");
  WriteFileBytes(pngCopy, dropped->png);
  EXPECT_TRUE(isPattern(ReadPngFile(pngCopy))) << "the PNG";
  // A file header in front of the DIB makes it a BMP file again (rows right after the header).
  std::string bmp = "BM" + std::string(12, '\0') + dropped->dib;
  const std::uint32_t sizes[] = {static_cast<std::uint32_t>(bmp.size()), 0,
                                 14 + *reinterpret_cast<const std::uint32_t*>(dropped->dib.data())};
  std::memcpy(bmp.data() + 2, sizes, sizeof sizes);
  WriteFileBytes(dibCopy, bmp);
  EXPECT_TRUE(isPattern(ReadBmpFile(dibCopy))) << "the DIB";
  EXPECT_EQ(Describe(WindowRectOf(viewer)), Describe(before));
  EXPECT_TRUE(Visible(viewer));
}

// A 32-bit top-down DIB with a V5 header and bit fields, as programs that keep alpha put it.
std::string PackedDibV5(int width, int height, const Pixel& colour) {
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = width;
  header.bV5Height = -height;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  header.bV5CSType = 0x73524742;  // LCS_sRGB, 'sRGB'
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      bytes += {static_cast<char>(GetBValue(c)), static_cast<char>(GetGValue(c)), static_cast<char>(GetRValue(c)),
                static_cast<char>(0xFF)};
    }
  }
  return bytes;
}

// "クリップボードから表示": each kind of picture another program leaves on the clipboard opens in a
// viewer centred on the pointer, exactly; anything else is said in a box, and nothing opens.
TEST(PinFromClipboard, EveryKindOfClipboardPictureOpensAtThePointerAndAnythingElseIsSaid) {
  Sandbox sandbox;
  Process program = sandbox.Start();
  HWND main = WaitForMainWindow(program);
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitUntil([&] { return Visible(main); }));
  const RECT work = WorkArea();
  std::vector<HWND> seen;
  // Chooses the command; returns the new viewer, or nothing when none shows.
  auto pin = [&](std::chrono::milliseconds wait) -> HWND {
    ChooseFromMainMenu(main, 'V');
    POINT pointer{};
    GetCursorPos(&pointer);
    HWND viewer = nullptr;
    WaitUntil(
        [&] {
          for (HWND shown : VisibleViewersOf(program)) {
            if (std::find(seen.begin(), seen.end(), shown) == seen.end()) viewer = shown;
          }
          return viewer != nullptr;
        },
        wait);
    if (!viewer) return nullptr;
    seen.push_back(viewer);
    Settle(300);
    const RECT outer = WindowRectOf(viewer);
    EXPECT_TRUE(outer.left >= work.left && outer.top >= work.top && outer.right <= work.right &&
                outer.bottom <= work.bottom)
        << Describe(outer);
    EXPECT_LE(std::abs((outer.left + outer.right) / 2 - pointer.x), 1) << Describe(outer);
    EXPECT_LE(std::abs((outer.top + outer.bottom) / 2 - pointer.y), 1) << Describe(outer);
    EXPECT_EQ(GetForegroundWindow(), viewer);
    return viewer;
  };
  // Once checked, each viewer steps out of the way of the main window's menu.
  auto putAside = [](HWND viewer) {
    SetWindowPos(viewer, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };

  PutBytesOnClipboard(CF_DIB, Bmp24(37, 23, Pattern).substr(14));
  HWND viewer = pin(10s);
  ASSERT_TRUE(viewer) << "a plain 24-bit DIB";
  EXPECT_EQ(CompareViewerPixels(viewer, DefaultFrame, Pattern), "");
  putAside(viewer);

  PutBytesOnClipboard(CF_DIBV5, PackedDibV5(29, 17, Pattern));
  viewer = pin(10s);
  ASSERT_TRUE(viewer) << "a top-down 32-bit DIB with a V5 header";
  EXPECT_EQ(CompareViewerPixels(viewer, DefaultFrame, Pattern), "");
  putAside(viewer);

  static const UINT png = RegisterClipboardFormatW(L"PNG");
  PutBytesOnClipboard(png, ReadFileBytes(PngSample("good/type6_depth16_interlaced.png")));
  viewer = pin(10s);
  ASSERT_TRUE(viewer) << "a PNG";
  EXPECT_EQ(CompareWithPpm(viewer, ReadFileBytes(PngSample("good/type6_depth16_interlaced.ppm"))), "");
  putAside(viewer);

  // Copied files: the first picture among them.
  const std::wstring text = sandbox.Path(L"notes.txt"), bmp = sandbox.Path(L"copied.bmp");
  WriteFileBytes(text, "not a picture");
  WriteFileBytes(bmp, Bmp24(11, 7, Pattern));
  PutFilesOnClipboard({text, bmp});
  viewer = pin(10s);
  ASSERT_TRUE(viewer) << "a copied BMP file";
  EXPECT_EQ(CompareViewerPixels(viewer, DefaultFrame, Pattern), "");
  putAside(viewer);

  // Text only, a DIB that claims far more than it holds, a damaged PNG: a box each, no viewer.
  std::string lying = Bmp24(2, 2, Pattern).substr(14);
  reinterpret_cast<BITMAPINFOHEADER*>(lying.data())->biWidth = 60000;
  reinterpret_cast<BITMAPINFOHEADER*>(lying.data())->biHeight = 60000;
  std::string damagedPng = ReadFileBytes(PngSample("good/type2_depth8.png"));
  damagedPng[40] ^= 0x55;
  const struct {
    const char* name;
    std::function<void()> put;
    const char* text;
  } kNothingToShow[] = {
      {"text", [] { PutTextOnClipboard(L"テキストだけ"); }, "クリップボードに表示できる画像がありません"},
      {"lying DIB", [&] { PutBytesOnClipboard(CF_DIB, lying); }, "ビットマップイメージが不正です"},
      {"damaged PNG", [&] { PutBytesOnClipboard(png, damagedPng); }, "PNG イメージが不正です"},
  };
  for (const auto& c : kNothingToShow) {
    SCOPED_TRACE(c.name);
    c.put();
    EXPECT_FALSE(pin(2s));
    auto box = WaitForMessageBox(program);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Kamerin");
    EXPECT_EQ(box->text, c.text);
    Answer(*box, IDOK);
    Settle(300);
  }
  EXPECT_EQ(VisibleViewersOf(program).size(), 4u);
  EXPECT_TRUE(IsWindow(main));
}

}  // namespace
}  // namespace e2e
