// How long a capture takes from the request to both files on disk and the viewer made, for the
// whole screen with "bmp", "Jpg" and "Win" on, next to its floor: what no capture can avoid (one
// screen copy, one BMP file, one JPEG file), each measured alone; the same with the first file a
// PNG (SavePng), next to one screen copy, one PNG file and one JPEG file. Also how long a range request
// takes to put the overlay on the screen, and one wheel step on a viewer of the whole screen, each
// next to what Wine alone needs for the same on the screen (a white veil shown, a window of the
// picture resized and painted).
//
// The screen shows a desktop-like picture (a full-screen window of this program), so that the
// JPEG has real work. Output: "figure: NAME VALUE ms" and "ratio: NAME VALUE" lines.

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "capture/win/capture_engine.h"
#include "capture/win/pointer_snapshot_win.h"
#include "capture/win/screen_copy_win.h"
#include "framework/win/bitmap_win.h"
#include "framework/win/text_win.h"
#include "picture/image_files.h"
#include "picture/win/clipboard_picture.h"
#include "picture/win/dib_win.h"
#include "settings/settings.h"
#include "support/bench_support.h"
#include "viewer/win/viewers.h"

namespace {

using namespace kmrn;
using namespace kmrn::bench;
namespace fs = std::filesystem;

constexpr int Runs = 15;

// A window of the bench's own: the backdrop standing in for the user's desktop (full screen,
// showing the picture), and the floors of the overlay and of a zoom step, what Wine itself costs
// to show a veiled full-screen window or to resize a window of a picture and paint it again.
class BenchWindow {
 public:
  // picture: painted 1:1 at the top-left; without one the window is all white.
  BenchWindow(const Dib* picture, PixelRect bounds, DWORD exStyle = 0, bool visible = true)
      : bitmap_(picture ? BitmapFromDib(*picture) : Bitmap{}) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &BenchWindow::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = picture ? nullptr : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = picture ? L"KamerinBenchPicture" : L"KamerinBenchWhite";
    RegisterClassW(&windowClass);  // fails harmlessly for the second window of a class
    window_ = CreateWindowExW(exStyle | WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"bench",
                              WS_POPUP | (visible ? WS_VISIBLE : 0), bounds.x, bounds.y, bounds.width, bounds.height,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    InvalidateRect(window_, nullptr, FALSE);
    Pump();
  }
  ~BenchWindow() { DestroyWindow(window_); }
  HWND Handle() const { return window_; }
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<BenchWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_PAINT && self && self->bitmap_) {
      PaintDC dc(hwnd);
      MemoryDC memory(dc.Get());
      Selection selected(memory.Get(), self->bitmap_.Get());
      const PixelSize size = BitmapSize(self->bitmap_.Get());
      BitBlt(dc.Get(), 0, 0, size.width, size.height, memory.Get(), 0, 0, SRCCOPY);
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  Bitmap bitmap_;
  HWND window_ = nullptr;
};

// Lets the windows' timers and paints of the last steps run, as they would while the user looks.
void Settle() {
  const DWORD until = GetTickCount() + 2000;
  while (GetTickCount() < until) {
    BenchWindow::Pump();
    Sleep(10);
  }
}

// Until the window has painted what a change asked for.
void Painted(HWND window) {
  UpdateWindow(window);
  GdiFlush();
}

// The main window as the captures see it: hidden.
class BenchHost final : public CaptureHost {
 public:
  BenchHost() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KamerinBenchMain";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"Kamerin", WS_OVERLAPPEDWINDOW, 0, 0, 300, 60, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
  }
  ~BenchHost() override { DestroyWindow(window_); }

  HWND MainHandle() const override { return window_; }
  void RememberMainPosition() override {}
  void HideMainWindow() override { ShowWindow(window_, SW_HIDE); }
  void ShowMainWindow() override {}
  bool MainWindowVisible() const override { return false; }
  void OnCaptured() override {}
  void OnMagnifierToggled(bool) override {}

 private:
  HWND window_ = nullptr;
};

// The capture engine as the program has it, behind a hidden main window, on these settings.
struct BenchProgram {
  explicit BenchProgram(const Settings& given)
      : settings(given),
        clipboard(host.MainHandle()),
        viewers(host.MainHandle(), settings, clipboard),
        engine(host, viewers, clipboard) {}
  Settings settings;
  BenchHost host;
  ClipboardPicture clipboard;
  Viewers viewers;
  CaptureEngine engine;
};

// Settings for the timings: no pause before a copy.
Settings QuickSettings() {
  Settings settings;
  settings.CaptureWait = 0;
  return settings;
}

void RemoveFiles(const fs::path& folder) {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) fs::remove(entry.path(), ignored);
}

void CloseViewers(Viewers& viewers) {
  viewers.CloseAll();
  viewers.FreeClosed();
  BenchWindow::Pump();
}

HWND FindOverlay() { return FindWindowW(nullptr, L"FormKN_Serect"); }

// The range overlay with the magnifier on: the request up to the overlay and the magnifier on the
// screen, next to its floor, the overlay's (a bare veil shown) plus the one screen copy the
// magnifier takes, timed in the same run after the same pause; and one pointer move redrawn, up to
// the overlay's label and the magnifier painted at the new place. Without a veil the floor is left
// out.
struct MagnifierTimes {
  std::vector<double> request, floor, move;
};

MagnifierTimes MeasureMagnifier(CaptureEngine& engine, const CaptureChoices& choices, Settings settings,
                                PixelSize screen, HWND veil = nullptr) {
  settings.Magnifier = true;
  MagnifierTimes times;
  for (int run = 0; run <= Runs; ++run) {
    // As for the overlay alone: the screen has settled by the time the user asks for a range.
    Settle();
    const double requestMs = Milliseconds([&] {
      engine.OnCaptureButton(choices, settings);
      if (HWND shown = FindOverlay()) Painted(shown);
      if (HWND magnifier = FindWindowW(L"KMRN_MAGNIFIER", nullptr)) Painted(magnifier);
    });
    HWND overlay = FindOverlay();
    HWND magnifier = FindWindowW(L"KMRN_MAGNIFIER", nullptr);
    // Moves along the diagonal, so that the magnifier goes somewhere new each time and flips
    // near the edges.
    for (int step = 0; step < 20 && overlay && magnifier; ++step) {
      const int x = screen.width * (step + 1) / 22, y = screen.height * (step + 1) / 22;
      const double moveMs = Milliseconds([&] {
        SendMessageW(overlay, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        Painted(overlay);
        Painted(magnifier);
      });
      if (run > 0) times.move.push_back(moveMs);
      // A mouse reports at most about every 8 ms (125 Hz); the next move comes no sooner.
      BenchWindow::Pump();
      Sleep(8);
    }
    if (overlay) SendMessageW(overlay, WM_CHAR, 27, 0);
    BenchWindow::Pump();
    if (run > 0) times.request.push_back(requestMs);
    if (!veil) continue;
    Settle();
    const double floorMs = Milliseconds([&] {
      SectionDib copy = CopyScreenRect({0, 0, screen.width, screen.height}, OffMonitors::Black);
      SetWindowPos(veil, HWND_TOPMOST, 0, 0, screen.width, screen.height, SWP_SHOWWINDOW);
      Painted(veil);
    });
    ShowWindow(veil, SW_HIDE);
    BenchWindow::Pump();
    if (run > 0) times.floor.push_back(floorMs);
  }
  return times;
}

std::string MagnifierMoveName(PixelSize screen) {
  if (screen == PixelSize{3840, 2160}) return "magnifier_move_4k";
  return "magnifier_move_" + std::to_string(screen.width) + "x" + std::to_string(screen.height);
}

// "capture_bench magnifier": the pointer move alone, for a run on a screen of another size
// (scripts/magnifier-bench.sh runs it on a 3840x2160 one).
int MagnifierMoveOnly() {
  const PixelSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const Dib desktop = ScreenPicture(screen.width, screen.height);
  BenchWindow backdrop(&desktop, {0, 0, screen.width, screen.height});
  BenchProgram program(QuickSettings());
  const MagnifierTimes times = MeasureMagnifier(program.engine, {}, program.settings, screen);
  std::printf("# screen %dx%d, %d runs, medians\n", screen.width, screen.height, Runs);
  PrintFigure(MagnifierMoveName(screen), Median(times.move));
  return 0;
}

// "capture_bench monitors": the range request up to the overlay on a desktop of several monitors
// (scripts/monitors-bench.sh runs it on three 1920x1080 ones), next to its floor, Wine showing a
// bare veil as large as the virtual screen.
int MonitorsRangeRequestOnly() {
  const PixelRect all{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const Dib desktop = ScreenPicture(all.width, all.height);
  BenchWindow backdrop(&desktop, all);
  BenchWindow veil(nullptr, all, WS_EX_TOPMOST | WS_EX_LAYERED, false);
  SetLayeredWindowAttributes(veil.Handle(), 0, 96, LWA_ALPHA);
  BenchProgram program(QuickSettings());
  std::vector<double> request, floor;
  for (int run = 0; run <= Runs; ++run) {
    Settle();
    const double requestMs = Milliseconds([&] {
      program.engine.OnCaptureButton({}, program.settings);
      if (HWND shown = FindOverlay()) Painted(shown);
    });
    if (HWND shown = FindOverlay()) SendMessageW(shown, WM_CHAR, 27, 0);
    BenchWindow::Pump();
    const double veilMs = Milliseconds([&] {
      SetWindowPos(veil.Handle(), HWND_TOPMOST, all.x, all.y, all.width, all.height, SWP_SHOWWINDOW);
      Painted(veil.Handle());
    });
    ShowWindow(veil.Handle(), SW_HIDE);
    BenchWindow::Pump();
    if (run == 0) continue;
    request.push_back(requestMs);
    floor.push_back(veilMs);
  }
  const std::string name = "range_request_" + std::to_string(GetSystemMetrics(SM_CMONITORS)) + "_monitors";
  std::printf("# virtual screen %dx%d at %d,%d, %d runs, medians\n", all.width, all.height, all.x, all.y, Runs);
  PrintFigure(name, Median(request));
  PrintFigure(name + "_floor", Median(floor));
  PrintRatio(name + "_to_floor", Median(request) / Median(floor));
  return 0;
}

// What the mouse pointer adds to a capture with CaptureCursor on: taking it at the trigger and
// drawing it into the copied picture of the whole screen. The pointer is the bench's own arrow in
// the middle of the screen (under Wine another program's pointer cannot be read).
void MeasureCursorInCapture(const PixelRect& screen) {
  SetCursorPos(screen.width / 2, screen.height / 2);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  BenchWindow::Pump();
  SectionDib picture = CopyScreenRect(screen, OffMonitors::Black);
  if (!SnapPointer()) {
    std::printf("cursor_in_capture: the pointer cannot be read here\n");
    return;
  }
  std::vector<double> times;
  for (int run = 0; run <= Runs; ++run) {
    const double ms = Milliseconds([&] {
      if (std::optional<PointerSnapshot> pointer = SnapPointer()) DrawPointerSnapshot(picture, *pointer, screen);
    });
    if (run > 0) times.push_back(ms);
  }
  PrintFigure("cursor_in_capture", Median(times));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "magnifier") return MagnifierMoveOnly();
  if (argc > 1 && std::string(argv[1]) == "monitors") return MonitorsRangeRequestOnly();
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const PixelRect screen{0, 0, width, height};
  const Dib desktop = ScreenPicture(width, height);
  BenchWindow backdrop(&desktop, screen);
  // The floors: a plain white veil like the overlay's, and a window of the picture resized as a
  // zoom step to 50 % and back resizes the viewer.
  BenchWindow veil(nullptr, screen, WS_EX_TOPMOST | WS_EX_LAYERED, false);
  SetLayeredWindowAttributes(veil.Handle(), 0, 96, LWA_ALPHA);
  BenchWindow resized(&desktop, screen, 0, false);

  const fs::path folder = fs::temp_directory_path() / "kamerin-capture-bench";
  fs::create_directories(folder);
  Settings settings;
  settings.SaveFile = Narrow(folder.wstring());
  settings.CaptureWait = 0;
  settings.CapturedWinPos = 1;
  settings.ViewWinWheelStretch = true;

  BenchHost host;
  ClipboardPicture clipboard(host.MainHandle());
  Viewers viewers(host.MainHandle(), settings, clipboard);
  CaptureEngine engine(host, viewers, clipboard);
  // All three outputs, in range mode.
  CaptureChoices choices;
  choices.saveBmp = choices.saveJpg = choices.viewer = true;
  Settings pngSettings = settings;
  pngSettings.SavePng = true;

  std::vector<double> whole, wholePng, copy, bmp, png, jpeg, viewer, overlay, zoomOut, zoomIn, overlayAlone, veilFloor,
      resizeOut, resizeIn;
  for (int run = 0; run <= Runs; ++run) {
    RemoveFiles(folder);
    CloseViewers(viewers);
    double wholeMs = Milliseconds([&] { engine.CaptureRect(screen, choices, settings); });
    RemoveFiles(folder);
    CloseViewers(viewers);
    double wholePngMs = Milliseconds([&] { engine.CaptureRect(screen, choices, pngSettings); });

    RemoveFiles(folder);
    CloseViewers(viewers);
    SectionDib picture;
    double copyMs = Milliseconds([&] { picture = CopyScreenRect(screen, OffMonitors::Black); });
    double bmpMs = Milliseconds([&] { SaveBmp(picture.dib, Narrow((folder / L"part.bmp").wstring())); });
    double pngMs = Milliseconds([&] { SavePng(picture.dib, Narrow((folder / L"part.png").wstring())); });
    double jpegMs =
        Milliseconds([&] { SaveJpeg(picture.dib, Narrow((folder / L"part.jpg").wstring()), CaptureJpegParams); });
    HWND shownViewer = nullptr;
    double viewerMs = Milliseconds([&] {
      shownViewer = viewers.Create(picture.dib);
      viewers.ShowAt(shownViewer, {0, 0}, false);
    });

    // The viewer as the user meets it: on the screen for a moment already.
    Settle();

    // One wheel step out (to 50 %) and back in, each until the window has painted.
    auto wheel = [&](int delta) {
      return Milliseconds([&] {
        SendMessageW(shownViewer, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(width / 2, height / 2));
        Painted(shownViewer);
      });
    };
    double zoomOutMs = wheel(-WHEEL_DELTA);
    double zoomInMs = wheel(WHEEL_DELTA);

    // The range request, up to the overlay being on the screen; Esc takes it away again. First
    // with the viewer of the whole screen open, which the request hides, then with none.
    auto rangeRequest = [&] {
      const double ms = Milliseconds([&] {
        engine.OnCaptureButton(choices, settings);
        if (HWND shown = FindOverlay()) Painted(shown);
      });
      if (HWND shown = FindOverlay()) SendMessageW(shown, WM_CHAR, 27, 0);
      BenchWindow::Pump();
      return ms;
    };
    // The zoom label has gone again by the time the user asks for a range.
    Settle();
    double overlayMs = rangeRequest();
    CloseViewers(viewers);
    double overlayAloneMs = rangeRequest();

    double veilMs = Milliseconds([&] {
      SetWindowPos(veil.Handle(), HWND_TOPMOST, 0, 0, width, height, SWP_SHOWWINDOW);
      Painted(veil.Handle());
    });
    ShowWindow(veil.Handle(), SW_HIDE);
    SetWindowPos(resized.Handle(), HWND_TOPMOST, 0, 0, width, height, SWP_SHOWWINDOW);
    Painted(resized.Handle());
    auto resize = [&](int w, int h) {
      return Milliseconds([&] {
        SetWindowPos(resized.Handle(), nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOMOVE);
        Painted(resized.Handle());
      });
    };
    double resizeOutMs = resize(width / 2, height / 2);
    double resizeInMs = resize(width, height);
    ShowWindow(resized.Handle(), SW_HIDE);
    BenchWindow::Pump();

    if (run == 0) continue;  // the first run warms the caches and the library
    whole.push_back(wholeMs);
    wholePng.push_back(wholePngMs);
    png.push_back(pngMs);
    copy.push_back(copyMs);
    bmp.push_back(bmpMs);
    jpeg.push_back(jpegMs);
    viewer.push_back(viewerMs);
    overlay.push_back(overlayMs);
    overlayAlone.push_back(overlayAloneMs);
    zoomOut.push_back(zoomOutMs);
    zoomIn.push_back(zoomInMs);
    veilFloor.push_back(veilMs);
    resizeOut.push_back(resizeOutMs);
    resizeIn.push_back(resizeInMs);
  }
  CloseViewers(viewers);
  RemoveFiles(folder);
  const MagnifierTimes magnifier = MeasureMagnifier(engine, choices, settings, screen.Size(), veil.Handle());
  MeasureCursorInCapture(screen);

  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  const double floor = Median(copy) + Median(bmp) + Median(jpeg);
  std::printf("# screen %s, %d runs, medians\n", size.c_str(), Runs);
  PrintFigure("capture_to_files", Median(whole));
  PrintFigure("capture_part_screen_copy", Median(copy));
  PrintFigure("capture_part_bmp", Median(bmp));
  PrintFigure("capture_part_jpeg", Median(jpeg));
  PrintFigure("capture_part_viewer", Median(viewer));
  PrintFigure("capture_floor", floor);
  PrintRatio("capture_whole_to_floor", Median(whole) / floor);
  const double pngFloor = Median(copy) + Median(png) + Median(jpeg);
  PrintFigure("capture_png_to_files", Median(wholePng));
  PrintFigure("capture_part_png", Median(png));
  PrintFigure("capture_png_floor", pngFloor);
  PrintRatio("capture_png_whole_to_floor", Median(wholePng) / pngFloor);
  PrintFigure("range_request_to_overlay", Median(overlay));
  PrintFigure("zoom_step_1080p", Median(zoomOut));
  PrintFigure("zoom_step_back_1080p", Median(zoomIn));
  PrintFigure("range_request_to_overlay_no_viewer", Median(overlayAlone));
  PrintFigure("overlay_floor", Median(veilFloor));
  PrintRatio("range_request_no_viewer_to_overlay_floor", Median(overlayAlone) / Median(veilFloor));
  PrintFigure("zoom_step_floor", Median(resizeOut));
  PrintRatio("zoom_step_to_floor", Median(zoomOut) / Median(resizeOut));
  PrintFigure("zoom_step_back_floor", Median(resizeIn));
  PrintRatio("zoom_step_back_to_floor", Median(zoomIn) / Median(resizeIn));
  PrintFigure("range_request_magnifier", Median(magnifier.request));
  const double magnifierFloor = Median(magnifier.floor);
  PrintFigure("range_request_magnifier_floor", magnifierFloor);
  PrintRatio("range_request_magnifier_to_floor", Median(magnifier.request) / magnifierFloor);
  PrintFigure(MagnifierMoveName(screen.Size()), Median(magnifier.move));
  return 0;
}
