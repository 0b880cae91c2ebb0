#pragma once
// A picture in memory laid out exactly as a Windows device-independent bitmap: rows bottom-up,
// each row padded to a multiple of 4 bytes, pixels blue-green-red. This is what the screen copy
// hands over, what a BMP file stores and what a DIB section shows, so none of them needs a
// conversion.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/pixel_bytes.h"

namespace kmrn {

struct Rgbq {
  std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  friend bool operator==(const Rgbq&, const Rgbq&) = default;
};

// The largest picture the program holds in memory. Three 4K screens side by side at 32 bits
// (about 100 MB) fit easily; a file that claims more is refused before anything is allocated.
inline constexpr std::uint64_t MaxDibBytes = 256ull * 1024 * 1024;
inline constexpr std::int64_t MaxDibSide = 65535;

struct Dib {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitCount = 32;  // 1, 4, 8, 16, 24 or 32
  std::vector<Rgbq> palette;    // bitCount <= 8 only
  // For 16 and 32 bits: the channel masks. All zero means the standard layout
  // (5-5-5 for 16 bits, blue-green-red-unused bytes for 32 bits).
  std::uint32_t redMask = 0, greenMask = 0, blueMask = 0;
  PixelBytes bits;  // height rows of Stride() bytes, the bottom row first; copies share them

  std::size_t Stride() const;
  // Row y counted from the top of the picture, as it is seen.
  std::uint8_t* RowFromTop(std::int32_t y);
  const std::uint8_t* RowFromTop(std::int32_t y) const;
  bool HasMasks() const { return redMask != 0 || greenMask != 0 || blueMask != 0; }
};

// Bytes in one padded row; 0 for a width or depth that cannot be stored.
std::uint64_t DibStride(std::int64_t width, unsigned bitCount);

// True when a picture of this size fits within the limits above.
bool DibSizeAllowed(std::int64_t width, std::int64_t height, unsigned bitCount);

// A zero-filled picture. Throws ImageTooLargeError beyond the limits.
Dib MakeDib(std::int64_t width, std::int64_t height, unsigned bitCount);

// The same picture as 24-bit blue-green-red: palettes looked up (an index past the palette gives
// black), 16- and 32-bit channels expanded through their masks.
Dib ToBgr24(const Dib& dib);

// True for 32 bits per pixel in the standard blue-green-red-unused byte order.
bool IsPlainBgrx(const Dib& dib);

}  // namespace kmrn
