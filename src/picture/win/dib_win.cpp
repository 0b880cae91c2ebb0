#include "picture/win/dib_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/app_error.h"
#include "framework/win/bitmap_win.h"
#include "framework/win/win32_error.h"
#include "picture/picture_transform.h"

namespace kmrn {
namespace {

// A BITMAPINFO with room for the masks or a full palette.
struct InfoWithColors {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

// How GDI is to read the picture's rows.
InfoWithColors InfoOf(const Dib& dib) {
  InfoWithColors info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = dib.width;
  info.header.biHeight = dib.height;
  info.header.biPlanes = 1;
  info.header.biBitCount = dib.bitCount;
  info.header.biCompression = dib.HasMasks() ? BI_BITFIELDS : BI_RGB;
  if (dib.HasMasks()) {
    auto* masks = reinterpret_cast<DWORD*>(info.colors);
    masks[0] = dib.redMask;
    masks[1] = dib.greenMask;
    masks[2] = dib.blueMask;
  } else if (dib.bitCount <= 8) {
    info.header.biClrUsed = static_cast<DWORD>(std::min<std::size_t>(dib.palette.size(), 256));
    for (size_t i = 0; i < info.header.biClrUsed; ++i) {
      info.colors[i] = RGBQUAD{dib.palette[i].blue, dib.palette[i].green, dib.palette[i].red, 0};
    }
  }
  return info;
}

}  // namespace

Dib DibFromBitmap(HBITMAP bitmap) {
  BITMAP object{};
  if (!GetObjectW(bitmap, sizeof object, &object)) ThrowLastSystemError("GetObjectW");
  unsigned bitCount = object.bmBitsPixel * object.bmPlanes;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24) bitCount = 32;

  Dib dib = MakeDib(object.bmWidth, object.bmHeight, bitCount);
  InfoWithColors info = InfoOf(dib);
  // GDI fills in the masks of a 16-bit picture, and the palette of a smaller one.
  if (bitCount == 16) info.header.biCompression = BI_BITFIELDS;

  WindowDC screen(nullptr);
  if (!GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(dib.height), dib.bits.data(),
                 reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS)) {
    ThrowLastSystemError("GetDIBits");
  }
  if (bitCount == 16) {
    const auto* masks = reinterpret_cast<const DWORD*>(info.colors);
    dib.redMask = masks[0];
    dib.greenMask = masks[1];
    dib.blueMask = masks[2];
  } else if (bitCount <= 8) {
    unsigned count = info.header.biClrUsed ? info.header.biClrUsed : 1u << bitCount;
    dib.palette.resize(std::min(count, 256u));
    for (size_t i = 0; i < dib.palette.size(); ++i) {
      dib.palette[i] = Rgbq{info.colors[i].rgbBlue, info.colors[i].rgbGreen, info.colors[i].rgbRed, 0};
    }
  }
  return dib;
}

Bitmap BitmapFromDib(const Dib& dib) {
  const InfoWithColors info = InfoOf(dib);
  void* bits = nullptr;
  Bitmap bitmap(
      CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) throw ImageTooLargeError(dib.width, dib.height);
  GdiFlush();
  std::memcpy(bits, dib.bits.data(), dib.bits.size());
  return bitmap;
}

SectionDib MakeSectionDib(std::int32_t width, std::int32_t height, unsigned bitCount) {
  if (!DibSizeAllowed(width, height, bitCount)) throw ImageTooLargeError(width, height);
  SectionDib section;
  section.dib.width = width;
  section.dib.height = height;
  section.dib.bitCount = static_cast<std::uint16_t>(bitCount);
  const InfoWithColors info = InfoOf(section.dib);
  void* bits = nullptr;
  section.bitmap = std::make_shared<Bitmap>(
      CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!*section.bitmap || !bits) throw ImageTooLargeError(width, height);
  const std::size_t size = section.dib.Stride() * static_cast<std::size_t>(height);
  // The section's pages come from the system the first time each is written. Cleared here from
  // first to last they come quickly and in order; left to the screen copy, which writes the
  // bottom-up rows from the last page back, they cost more than the copy itself (under Wine, at
  // 1920x1080: 85 ms for the copy into fresh pages, 23 ms to clear them and 39 ms to copy after).
  std::memset(bits, 0, size);
  section.dib.bits = PixelBytes::Borrowed(static_cast<std::uint8_t*>(bits), size, section.bitmap);
  return section;
}

Dib AtDisplayDepth(const Dib& dib, PixelSize size) {
  // The usual case takes no trip through GDI: a standard 32-bit picture on a 32-bit display is at
  // the display's depth already, and enlarging it by a whole factor repeats its pixels.
  if (IsPlainBgrx(dib) && !dib.HasMasks() && DisplayDepth() == 32) {
    if (size.width == dib.width && size.height == dib.height) return dib;
    const int factor = size.width / dib.width;
    if (factor > 1 && size.width == dib.width * factor && size.height == dib.height * factor) {
      return RepeatPixels(dib, factor);
    }
  }
  const Bitmap source = BitmapFromDib(dib);
  const Bitmap stretched = StretchedCopy(source.Get(), size);
  return DibFromBitmap(stretched.Get());
}

void PaintDib(HDC dc, const Dib& dib, const RECT& area) {
  const InfoWithColors info = InfoOf(dib);
  // The part of the area the picture covers. The rows are bottom-up: its top row is source row
  // height - bottom.
  const ScreenRect drawn{std::max<std::int32_t>(area.left, 0), std::max<std::int32_t>(area.top, 0),
                         std::min<std::int32_t>(area.right, dib.width),
                         std::min<std::int32_t>(area.bottom, dib.height)};
  if (IsEmpty(drawn)) return;
  SetDIBitsToDevice(dc, drawn.left, drawn.top, static_cast<DWORD>(drawn.Width()), static_cast<DWORD>(drawn.Height()),
                    drawn.left, dib.height - drawn.bottom, 0, static_cast<UINT>(dib.height), dib.bits.data(),
                    reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
}

Palette PaletteOf(const Dib& dib) {
  if (dib.palette.empty()) return Palette();
  struct {
    WORD version;
    WORD count;
    PALETTEENTRY entries[256];
  } log{0x300, static_cast<WORD>(std::min<std::size_t>(dib.palette.size(), 256)), {}};
  for (WORD i = 0; i < log.count; ++i) {
    log.entries[i] = PALETTEENTRY{dib.palette[i].red, dib.palette[i].green, dib.palette[i].blue, 0};
  }
  return Palette(CreatePalette(reinterpret_cast<const LOGPALETTE*>(&log)));
}

}  // namespace kmrn
