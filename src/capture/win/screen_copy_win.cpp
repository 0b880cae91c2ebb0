#include "capture/win/screen_copy_win.h"

#include <vector>

#include "capture/capture_geometry.h"
#include "framework/app_error.h"
#include "framework/monitor_layout.h"
#include "framework/win/bitmap_win.h"
#include "framework/win/win32_error.h"
#include "framework/win/window_query.h"

namespace kmrn {
namespace {

// dwmapi is looked up at run time: the program must start where it is missing, and a failure
// here only costs the wait.
struct DwmFunctions {
  using IsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);
  using Flush = HRESULT(WINAPI*)();
  IsCompositionEnabled isCompositionEnabled = nullptr;
  Flush flush = nullptr;
};

const DwmFunctions& Dwm() {
  static const DwmFunctions functions = [] {
    DwmFunctions found;
    if (HMODULE dwm = LoadLibraryW(L"dwmapi.dll")) {
      found.isCompositionEnabled = reinterpret_cast<DwmFunctions::IsCompositionEnabled>(
          reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
      found.flush = reinterpret_cast<DwmFunctions::Flush>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmFlush")));
    }
    return found;
  }();
  return functions;
}

}  // namespace

void WaitForHiddenWindowsToLeaveScreen() noexcept {
  const DwmFunctions& dwm = Dwm();
  if (!dwm.isCompositionEnabled || !dwm.flush) return;
  BOOL composited = FALSE;
  if (FAILED(dwm.isCompositionEnabled(&composited)) || !composited) return;
  dwm.flush();
}

namespace {

// The parts of the rectangle to make black, in screen coordinates. A desktop of one monitor is not
// even asked for its monitors.
std::vector<ScreenRect> PartsToBlacken(const PixelRect& rect, OffMonitors offMonitors) {
  if (offMonitors != OffMonitors::Black || GetSystemMetrics(SM_CMONITORS) <= 1) return {};
  return PartsOnNoMonitor(DesktopMonitors(), ToScreenRect(rect));
}

}  // namespace

OffMonitors OffMonitorsFor(const Settings& settings) {
  return UsesAllMonitors(settings) ? OffMonitors::Black : OffMonitors::AsCopied;
}

SectionDib CopyScreenRect(const PixelRect& rect, OffMonitors offMonitors) {
  const std::vector<ScreenRect> black = PartsToBlacken(rect, offMonitors);
  WindowDC screen(nullptr);
  if (!screen.Get()) ThrowLastSystemError("GetDC");
  // The usual displays draw straight into the picture's rows. At other depths (16 bits with its
  // channel masks, palettes) the screen's own bitmap format is asked for its pixels afterwards.
  const int depth = DisplayDepth();
  const bool direct = depth == 24 || depth == 32;
  SectionDib picture;
  Bitmap compatible;
  if (direct) {
    picture = MakeSectionDib(rect.width, rect.height, static_cast<unsigned>(depth));
  } else {
    compatible = Bitmap(CreateCompatibleBitmap(screen.Get(), rect.width, rect.height));
    if (!compatible) throw ImageTooLargeError(rect.width, rect.height);
  }
  MemoryDC memory(screen.Get());
  if (!memory.Get()) ThrowLastSystemError("CreateCompatibleDC");
  {
    // Deselected again before the bitmap is handed on: GetDIBits and the clipboard want it free.
    Selection target(memory.Get(), direct ? picture.bitmap->Get() : compatible.Get());
    if (!BitBlt(memory.Get(), 0, 0, rect.width, rect.height, screen.Get(), rect.x, rect.y, SRCCOPY)) {
      ThrowLastSystemError("BitBlt");
    }
    // What the system gives beyond the monitors differs from system to system (old pixels,
    // another monitor's, garbage); the picture shows black there.
    for (const ScreenRect& part : black) {
      if (!PatBlt(memory.Get(), part.left - rect.x, part.top - rect.y, part.Width(), part.Height(), BLACKNESS)) {
        ThrowLastSystemError("PatBlt");
      }
    }
  }
  if (direct) {
    GdiFlush();
    return picture;
  }
  picture.dib = DibFromBitmap(compatible.Get());
  picture.bitmap = std::make_shared<Bitmap>(std::move(compatible));
  return picture;
}

}  // namespace kmrn
