// How long a capture takes from the request to both files on disk and the viewer made, for the
// whole screen with "bmp", "Jpg" and "Win" on, next to its floor: what no capture can avoid (one
// screen copy, one BMP file, one JPEG file), each measured alone. Also how long a range request
// takes to put the overlay on the screen, and one wheel step on a viewer of the whole screen.
//
// The screen shows a desktop-like picture (a full-screen window of this program), so that the
// JPEG has real work. Output: "figure: NAME VALUE ms" and "ratio: NAME VALUE" lines.

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "capture/win/capture_engine.h"
#include "capture/win/screen_copy_win.h"
#include "framework/win/bitmap_win.h"
#include "framework/win/text_win.h"
#include "settings/settings.h"
#include "support/bench_support.h"
#include "viewer/image_files.h"
#include "viewer/win/dib_win.h"
#include "viewer/win/viewers.h"

namespace {

using namespace kmrn;
using namespace kmrn::bench;
namespace fs = std::filesystem;

constexpr int Runs = 9;

// A full-screen window showing the picture, standing in for the user's desktop.
class Backdrop {
 public:
  explicit Backdrop(const Dib& picture) : bitmap_(BitmapFromDib(picture)) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Backdrop::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KamerinBenchBackdrop";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"backdrop", WS_POPUP | WS_VISIBLE, 0, 0, picture.width,
                              picture.height, nullptr, nullptr, windowClass.hInstance, this);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    InvalidateRect(window_, nullptr, FALSE);
    Pump();
  }
  ~Backdrop() { DestroyWindow(window_); }
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Backdrop*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_PAINT && self) {
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

 private:
  HWND window_ = nullptr;
};

void RemoveFiles(const fs::path& folder) {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) fs::remove(entry.path(), ignored);
}

void CloseViewers() {
  CloseAllViewers();
  FreeClosedViewers();
  Backdrop::Pump();
}

HWND FindOverlay() { return FindWindowW(nullptr, L"FormKN_Serect"); }

}  // namespace

int main() {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const PixelRect screen{0, 0, width, height};
  Backdrop backdrop(ScreenPicture(width, height));

  const fs::path folder = fs::temp_directory_path() / "kamerin-capture-bench";
  fs::create_directories(folder);
  Settings = TSettings{};
  Settings.SaveFile = Narrow(folder.wstring());
  Settings.CaptureWait = 0;
  Settings.CapturedWinPos = 1;
  Settings.ViewWinWheelStretch = true;

  BenchHost host;
  InitViewers(host.MainHandle());
  CaptureEngine engine(host);
  // All three outputs, in range mode.
  CaptureChoices choices;
  choices.saveBmp = choices.saveJpg = choices.viewer = true;

  std::vector<double> whole, copy, bmp, jpeg, viewer, overlay, zoomOut, zoomIn;
  for (int run = 0; run <= Runs; ++run) {
    RemoveFiles(folder);
    CloseViewers();
    double wholeMs = Milliseconds([&] { engine.CaptureRect(screen, choices); });

    RemoveFiles(folder);
    CloseViewers();
    SectionDib picture;
    double copyMs = Milliseconds([&] { picture = CopyScreenRect(screen); });
    double bmpMs = Milliseconds([&] { SaveBmp(picture.dib, Narrow((folder / L"part.bmp").wstring())); });
    double jpegMs =
        Milliseconds([&] { SaveJpeg(picture.dib, Narrow((folder / L"part.jpg").wstring()), CaptureJpegParams); });
    HWND shownViewer = nullptr;
    double viewerMs = Milliseconds([&] {
      shownViewer = CreateViewer(picture.dib);
      ShowViewerAt(shownViewer, {0, 0}, false);
    });

    // One wheel step out (to 50 %) and back in, each until the window has painted.
    Backdrop::Pump();
    auto wheel = [&](int delta) {
      return Milliseconds([&] {
        SendMessageW(shownViewer, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(width / 2, height / 2));
        UpdateWindow(shownViewer);
        GdiFlush();
      });
    };
    double zoomOutMs = wheel(-WHEEL_DELTA);
    double zoomInMs = wheel(WHEEL_DELTA);

    // The range request, up to the overlay being on the screen; Esc takes it away again.
    double overlayMs = Milliseconds([&] {
      engine.OnCaptureButton(choices);
      HWND shown = FindOverlay();
      if (shown) UpdateWindow(shown);
      GdiFlush();
    });
    if (HWND shown = FindOverlay()) SendMessageW(shown, WM_CHAR, 27, 0);
    Backdrop::Pump();

    if (run == 0) continue;  // the first run warms the caches and the library
    whole.push_back(wholeMs);
    copy.push_back(copyMs);
    bmp.push_back(bmpMs);
    jpeg.push_back(jpegMs);
    viewer.push_back(viewerMs);
    overlay.push_back(overlayMs);
    zoomOut.push_back(zoomOutMs);
    zoomIn.push_back(zoomInMs);
  }
  CloseViewers();
  RemoveFiles(folder);

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
  PrintFigure("range_request_to_overlay", Median(overlay));
  PrintFigure("zoom_step_1080p", Median(zoomOut));
  PrintFigure("zoom_step_back_1080p", Median(zoomIn));
  return 0;
}
