#include "framework/win/bitmap_win.h"

#include "framework/app_error.h"

namespace kmrn {

int DisplayDepth() noexcept {
  WindowDC screen(nullptr);
  return GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES);
}

PixelSize BitmapSize(HBITMAP bitmap) noexcept {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
  return {info.bmWidth, info.bmHeight};
}

Bitmap StretchedCopy(HBITMAP source, PixelSize size) {
  const PixelSize from = BitmapSize(source);
  WindowDC screen(nullptr);
  Bitmap target(CreateCompatibleBitmap(screen.Get(), size.width, size.height));
  if (!target) throw ImageTooLargeError(size.width, size.height);
  MemoryDC sourceDC(screen.Get());
  MemoryDC targetDC(screen.Get());
  if (!sourceDC.Get() || !targetDC.Get()) throw ImageTooLargeError(size.width, size.height);
  Selection sourceSelection(sourceDC.Get(), source);
  Selection targetSelection(targetDC.Get(), target.Get());
  SetStretchBltMode(targetDC.Get(), COLORONCOLOR);
  if (!StretchBlt(targetDC.Get(), 0, 0, size.width, size.height, sourceDC.Get(), 0, 0, from.width, from.height,
                  SRCCOPY)) {
    throw ImageTooLargeError(size.width, size.height);
  }
  return target;
}

Bitmap CopyBitmap(HBITMAP source) { return StretchedCopy(source, BitmapSize(source)); }

}  // namespace kmrn
