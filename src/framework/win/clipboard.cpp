#include "framework/win/clipboard.h"

#include <exception>

#include "framework/win/bitmap_win.h"

namespace kmrn {
namespace {

// Open for as long as it lives.
class OpenClipboardFor {
 public:
  explicit OpenClipboardFor(HWND owner) noexcept {
    for (int attempt = 0; attempt < 10 && !(open_ = OpenClipboard(owner) != 0); ++attempt) Sleep(20);
  }
  ~OpenClipboardFor() {
    if (open_) CloseClipboard();
  }
  OpenClipboardFor(const OpenClipboardFor&) = delete;
  OpenClipboardFor& operator=(const OpenClipboardFor&) = delete;
  bool IsOpen() const noexcept { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

bool PutBitmapOnClipboard(HWND owner, HBITMAP bitmap, GdiObject<HPALETTE> palette) {
  Bitmap copy;
  try {
    copy = CopyBitmap(bitmap);
  } catch (const std::exception&) {
    return false;
  }
  OpenClipboardFor clipboard(owner);
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  // Once set, the clipboard owns the copies.
  if (!SetClipboardData(CF_BITMAP, copy.Get())) return false;
  copy.Release();
  if (palette && SetClipboardData(CF_PALETTE, palette.Get())) palette.Release();
  return true;
}

}  // namespace kmrn
