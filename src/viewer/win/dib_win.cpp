#include "viewer/win/dib_win.h"

#include <cstring>
#include <vector>

#include "framework/app_error.h"
#include "framework/win/win32_error.h"

namespace kmrn {
namespace {

// A BITMAPINFO with room for the masks or a full palette.
struct InfoWithColors {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

}  // namespace

Dib DibFromBitmap(HBITMAP bitmap) {
  BITMAP object{};
  if (!GetObjectW(bitmap, sizeof object, &object)) ThrowLastSystemError("GetObjectW");
  unsigned bitCount = object.bmBitsPixel * object.bmPlanes;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24) bitCount = 32;

  Dib dib = MakeDib(object.bmWidth, object.bmHeight, bitCount);
  InfoWithColors info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = dib.width;
  info.header.biHeight = dib.height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitCount);
  info.header.biCompression = bitCount == 16 ? BI_BITFIELDS : BI_RGB;

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
    info.header.biClrUsed = static_cast<DWORD>(dib.palette.size());
    for (size_t i = 0; i < dib.palette.size() && i < 256; ++i) {
      info.colors[i] = RGBQUAD{dib.palette[i].blue, dib.palette[i].green, dib.palette[i].red, 0};
    }
  }
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) throw ImageTooLargeError(dib.width, dib.height);
  GdiFlush();
  std::memcpy(bits, dib.bits.data(), dib.bits.size());
  return bitmap;
}

}  // namespace kmrn
