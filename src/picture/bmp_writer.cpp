// Writing a picture as a BMP file at its own depth. The rows are already laid out as the file
// stores them, so they go to the file straight from the picture without a copy.

#include <algorithm>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "picture/bmp_format.h"
#include "picture/image_files.h"

namespace kmrn {
namespace {

bool WritesMasks(const Dib& dib) { return (dib.bitCount == 16 || dib.bitCount == 32) && dib.HasMasks(); }

// A palette longer than the depth can index would make readers refuse the file.
std::size_t PaletteEntries(const Dib& dib) {
  if (dib.bitCount > 8) return 0;
  return std::min<std::size_t>(dib.palette.size(), std::size_t{1} << dib.bitCount);
}

// A header that does not match the rows behind it makes a damaged file; better no file at all.
bool Storable(const Dib& dib) {
  return DibSizeAllowed(dib.width, dib.height, dib.bitCount) &&
         dib.bits.size() == dib.Stride() * static_cast<std::size_t>(dib.height) &&
         (dib.bitCount > 8 || !dib.palette.empty());  // no palette would read as a full one
}

}  // namespace

std::vector<std::uint8_t> EncodeBmpHeader(const Dib& dib) {
  const bool masks = WritesMasks(dib);
  const std::size_t colors = PaletteEntries(dib);
  const auto offBits =
      static_cast<std::uint32_t>(bmp::FileHeaderSize + bmp::InfoHeaderSize + (masks ? bmp::MaskBytes : 0) + 4 * colors);
  const auto imageSize = static_cast<std::uint32_t>(DibStride(dib.width, dib.bitCount) *
                                                    static_cast<std::uint64_t>(dib.height > 0 ? dib.height : 0));

  std::vector<std::uint8_t> out;
  out.reserve(offBits);
  auto u16 = [&out](std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto u32 = [&u16](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };

  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  u32(offBits + imageSize);
  u32(0);  // two reserved WORDs
  u32(offBits);
  // BITMAPINFOHEADER; a positive height means the rows run bottom-up, as the picture holds them.
  u32(bmp::InfoHeaderSize);
  u32(static_cast<std::uint32_t>(dib.width));
  u32(static_cast<std::uint32_t>(dib.height));
  u16(1);
  u16(dib.bitCount);
  u32(masks ? bmp::BitFields : bmp::Rgb);
  u32(imageSize);
  u32(bmp::PixelsPerMetre);
  u32(bmp::PixelsPerMetre);
  u32(static_cast<std::uint32_t>(colors));
  u32(0);  // all colours important
  if (masks) {
    u32(dib.redMask);
    u32(dib.greenMask);
    u32(dib.blueMask);
  }
  for (std::size_t i = 0; i < colors; ++i) {
    const Rgbq& c = dib.palette[i];
    out.insert(out.end(), {c.blue, c.green, c.red, 0});
  }
  return out;
}

std::vector<std::uint8_t> EncodePackedDib(const Dib& dib) {
  std::vector<std::uint8_t> packed = EncodeBmpHeader(dib);
  packed.erase(packed.begin(), packed.begin() + bmp::FileHeaderSize);
  packed.insert(packed.end(), dib.bits.begin(), dib.bits.end());
  return packed;
}

void SaveBmp(const Dib& dib, const std::string& path) {
  if (!Storable(dib)) throw FileCreateError(path);
  const std::vector<std::uint8_t> header = EncodeBmpHeader(dib);
  AtomicFileWriter file(path);
  file.Write(header.data(), header.size());
  file.Write(dib.bits.data(), dib.bits.size());
  file.Commit();
}

}  // namespace kmrn
