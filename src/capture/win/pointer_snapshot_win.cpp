#include "capture/win/pointer_snapshot_win.h"

#include <memory>
#include <utility>
#include <vector>

#include "framework/dpi_scale.h"
#include "framework/win/bitmap_win.h"
#include "framework/win/dpi.h"
#include "framework/win/gdi.h"

namespace kmrn {
namespace {

// The bitmap's pixels at 32 bits, rows from the top; none when GDI cannot give them.
std::vector<Rgbq> PixelsOf(HDC screen, HBITMAP bitmap, PixelSize size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = -size.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<Rgbq> pixels(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
  static_assert(sizeof(Rgbq) == sizeof(RGBQUAD));
  if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.height), pixels.data(), &info, DIB_RGB_COLORS) !=
      size.height) {
    pixels.clear();
  }
  return pixels;
}

int BitsPerPixel(HBITMAP bitmap) {
  BITMAP facts{};
  return GetObjectW(bitmap, sizeof(facts), &facts) ? facts.bmBitsPixel : 0;
}

}  // namespace

std::optional<PointerSnapshot> SnapPointer() {
  CURSORINFO cursor{};
  cursor.cbSize = sizeof(cursor);
  if (!GetCursorInfo(&cursor) || !(cursor.flags & CURSOR_SHOWING) || !cursor.hCursor) return std::nullopt;
  // Under Wine a pointer that another program made cannot be read (Windows reads any): such a
  // pointer is left out of the picture rather than drawn as a guess.
  ICONINFO icon{};
  if (!GetIconInfo(cursor.hCursor, &icon)) return std::nullopt;
  const Bitmap mask(icon.hbmMask), colour(icon.hbmColor);  // copies made for this call: ours to free
  if (!mask) return std::nullopt;

  WindowDC screen(nullptr);
  const PixelSize maskSize = BitmapSize(mask.Get());
  const PixelSize size = colour ? BitmapSize(colour.Get()) : PixelSize{maskSize.width, maskSize.height / 2};
  if (size.width <= 0 || size.height <= 0) return std::nullopt;
  PointerShape shape =
      MakePointerShape(size, static_cast<std::int32_t>(icon.xHotspot), static_cast<std::int32_t>(icon.yHotspot),
                       PixelsOf(screen.Get(), mask.Get(), maskSize),
                       colour ? PixelsOf(screen.Get(), colour.Get(), size) : std::vector<Rgbq>{},
                       colour && BitsPerPixel(colour.Get()) == 32);
  if (shape.image.empty()) return std::nullopt;

  // The system shows its pointers larger on a monitor of a higher DPI.
  const int shown = PointerSize(DpiAt(cursor.ptScreenPos));
  return PointerSnapshot{cursor.ptScreenPos.x, cursor.ptScreenPos.y,
                         ScalePointerShape(shape, shown, PointerSize(DesignDpi))};
}

void DrawPointerSnapshot(SectionDib& picture, const PointerSnapshot& pointer, const PixelRect& rect) {
  const std::int32_t x = pointer.x - rect.x, y = pointer.y - rect.y;
  const std::uint8_t* rows = std::as_const(picture.dib.bits).data();
  DIBSECTION section{};
  const bool inSection =
      GetObjectW(picture.bitmap->Get(), sizeof(section), &section) == sizeof(section) && section.dsBm.bmBits == rows;
  if (inSection) {
    // The rows are the section's, which the clipboard hands on: they are drawn into where they
    // lie (through a view that owns nothing, as the picture's own copy-on-write would take them
    // away from the section). The depth is one the pointer is drawn at in place.
    Dib view = picture.dib;
    view.bits = PixelBytes::Borrowed(const_cast<std::uint8_t*>(rows), picture.dib.bits.size(), nullptr);
    DrawPointer(view, pointer.shape, x, y);
    return;
  }
  // A picture read from the screen's own bitmap (unusual depths) comes back as a new 24-bit one;
  // the clipboard's bitmap is made again from it, as every output shares the one picture.
  DrawPointer(picture.dib, pointer.shape, x, y);
  picture.bitmap = std::make_shared<Bitmap>(BitmapFromDib(picture.dib));
}

}  // namespace kmrn
