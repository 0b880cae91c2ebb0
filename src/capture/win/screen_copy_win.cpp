#include "capture/win/screen_copy_win.h"

#include "framework/app_error.h"

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

// A copy of a bitmap in the screen's format, for owners that free it on their own terms.
HBITMAP CopyBitmap(HBITMAP source) {
  BITMAP info{};
  if (!GetObjectW(source, sizeof info, &info)) return nullptr;
  WindowDC screen(nullptr);
  Bitmap copy(CreateCompatibleBitmap(screen.Get(), info.bmWidth, info.bmHeight));
  if (!copy) return nullptr;
  MemoryDC from(screen.Get());
  MemoryDC to(screen.Get());
  {
    Selection readSource(from.Get(), source);
    Selection writeCopy(to.Get(), copy.Get());
    if (!BitBlt(to.Get(), 0, 0, info.bmWidth, info.bmHeight, from.Get(), 0, 0, SRCCOPY)) return nullptr;
  }
  return copy.Release();
}

}  // namespace

void WaitForHiddenWindowsToLeaveScreen() noexcept {
  const DwmFunctions& dwm = Dwm();
  if (!dwm.isCompositionEnabled || !dwm.flush) return;
  BOOL composited = FALSE;
  if (FAILED(dwm.isCompositionEnabled(&composited)) || !composited) return;
  dwm.flush();
}

Bitmap CopyScreenRect(const PixelRect& rect) {
  WindowDC screen(nullptr);
  if (!screen.Get()) throw AppError("GetDC failed");
  Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), rect.width, rect.height));
  if (!bitmap) throw ImageTooLargeError(rect.width, rect.height);
  MemoryDC memory(screen.Get());
  if (!memory.Get()) throw AppError("CreateCompatibleDC failed");
  {
    // Deselected again before the bitmap is handed on: GetDIBits and the clipboard want it free.
    Selection target(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, rect.width, rect.height, screen.Get(), rect.x, rect.y, SRCCOPY)) {
      throw AppError("BitBlt failed");
    }
  }
  return bitmap;
}

bool PutBitmapOnClipboard(HWND owner, HBITMAP bitmap) {
  // Another program may hold the clipboard for a moment.
  bool open = false;
  for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(owner) != 0); ++attempt) Sleep(20);
  if (!open) return false;
  bool done = false;
  if (EmptyClipboard()) {
    Bitmap copy(CopyBitmap(bitmap));
    // Once set, the clipboard owns the copy.
    if (copy && SetClipboardData(CF_BITMAP, copy.Get())) {
      copy.Release();
      done = true;
    }
  }
  CloseClipboard();
  return done;
}

}  // namespace kmrn
