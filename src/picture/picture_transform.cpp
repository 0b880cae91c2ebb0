#include "picture/picture_transform.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kmrn {
namespace {

// The index at column x of a row of 1- or 4-bit pixels (the leftmost pixel in the high bits).
unsigned SmallPixel(const std::uint8_t* row, std::int32_t x, unsigned bits) {
  const unsigned perByte = 8 / bits;
  const unsigned shift = 8 - bits * (static_cast<unsigned>(x) % perByte + 1);
  return (row[x / perByte] >> shift) & ((1u << bits) - 1);
}

void SetSmallPixel(std::uint8_t* row, std::int32_t x, unsigned bits, unsigned value) {
  const unsigned perByte = 8 / bits;
  const unsigned shift = 8 - bits * (static_cast<unsigned>(x) % perByte + 1);
  const unsigned mask = ((1u << bits) - 1) << shift;
  row[x / perByte] = static_cast<std::uint8_t>((row[x / perByte] & ~mask) | (value << shift));
}

std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

void Store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// Reverses the 4-byte pixels of a row in place. Four pixels from each end at a time, turned
// round in registers (the compiler makes one shuffle of each), then the rest one pair at a time.
void ReverseRow32(std::uint8_t* row, std::int32_t width) {
  std::uint8_t* left = row;
  std::uint8_t* right = row + 4 * static_cast<std::size_t>(width);
  for (; right - left >= 32; left += 16, right -= 16) {
    std::uint32_t a[4], b[4], turnedA[4], turnedB[4];
    std::memcpy(a, left, 16);
    std::memcpy(b, right - 16, 16);
    for (int i = 0; i < 4; ++i) {
      turnedA[i] = a[3 - i];
      turnedB[i] = b[3 - i];
    }
    std::memcpy(left, turnedB, 16);
    std::memcpy(right - 16, turnedA, 16);
  }
  for (; right - left >= 8; left += 4, right -= 4) {
    const std::uint32_t a = Load32(left), b = Load32(right - 4);
    Store32(left, b);
    Store32(right - 4, a);
  }
}

// Four 3-byte pixels, read as three little-endian words, turned round: bytes A0 A1 A2 B0 | B1 B2
// C0 C1 | C2 D0 D1 D2 become D0 D1 D2 C0 | C1 C2 B0 B1 | B2 A0 A1 A2.
void StoreReversed12(std::uint8_t* out, std::uint32_t w0, std::uint32_t w1, std::uint32_t w2) {
  Store32(out, w2 >> 8 | (w1 << 8 & 0xFF000000u));
  Store32(out + 4, w1 >> 24 | (w2 & 0xFFu) << 8 | (w0 >> 24) << 16 | w1 << 24);
  Store32(out + 8, (w1 >> 8 & 0xFFu) | w0 << 8);
}

// Reverses the 3-byte pixels of a row in place: four pixels (12 bytes) from each end at a time
// in whole words, then the rest one pair at a time.
void ReverseRow24(std::uint8_t* row, std::int32_t width) {
  std::uint8_t* left = row;
  std::uint8_t* right = row + 3 * static_cast<std::size_t>(width);
  for (; right - left >= 24; left += 12, right -= 12) {
    const std::uint32_t a0 = Load32(left), a1 = Load32(left + 4), a2 = Load32(left + 8);
    const std::uint32_t b0 = Load32(right - 12), b1 = Load32(right - 8), b2 = Load32(right - 4);
    StoreReversed12(left, b0, b1, b2);
    StoreReversed12(right - 12, a0, a1, a2);
  }
  for (; right - left >= 6; left += 3, right -= 3) std::swap_ranges(left, left + 3, right - 3);
}

}  // namespace

void MirrorLeftRight(Dib& picture) {
  const std::int32_t w = picture.width;
  if (picture.bitCount < 8) {
    std::vector<std::uint8_t> copy(picture.Stride());
    for (std::int32_t y = 0; y < picture.height; ++y) {
      std::uint8_t* row = picture.RowFromTop(y);
      std::copy(row, row + copy.size(), copy.begin());
      for (std::int32_t x = 0; x < w; ++x) {
        SetSmallPixel(row, x, picture.bitCount, SmallPixel(copy.data(), w - 1 - x, picture.bitCount));
      }
    }
    return;
  }
  if (picture.bitCount == 32 || picture.bitCount == 24) {
    // Only the pixels move; the padding at the end of each row stays as it is.
    for (std::int32_t y = 0; y < picture.height; ++y) {
      if (picture.bitCount == 32) {
        ReverseRow32(picture.RowFromTop(y), w);
      } else {
        ReverseRow24(picture.RowFromTop(y), w);
      }
    }
    return;
  }
  const std::size_t bytes = picture.bitCount / 8u;
  for (std::int32_t y = 0; y < picture.height; ++y) {
    std::uint8_t* row = picture.RowFromTop(y);
    for (std::int32_t left = 0, right = w - 1; left < right; ++left, --right) {
      std::swap_ranges(row + left * bytes, row + (left + 1) * bytes, row + right * bytes);
    }
  }
}

void MirrorTopBottom(Dib& picture) {
  const std::size_t stride = picture.Stride();
  for (std::int32_t top = 0, bottom = picture.height - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(picture.RowFromTop(top), picture.RowFromTop(top) + stride, picture.RowFromTop(bottom));
  }
}

Dib RotateClockwise(const Dib& picture) {
  // A 24-bit or standard 32-bit picture is read as it is; any other is made 24-bit first.
  const bool direct = picture.bitCount == 24 || IsPlainBgrx(picture);
  const Dib converted = direct ? Dib{} : ToBgr24(picture);
  const Dib& source = direct ? picture : converted;
  const std::size_t bytesPerPixel = source.bitCount / 8u;
  Dib turned = MakeDib(source.height, source.width, 24);
  // Each source row becomes a column of the result, right to left. Done in tiles small enough for
  // the cache, so that neither picture is walked across its rows one pixel per row.
  constexpr std::int32_t Tile = 64;
  for (std::int32_t y0 = 0; y0 < turned.height; y0 += Tile) {
    for (std::int32_t x0 = 0; x0 < turned.width; x0 += Tile) {
      const std::int32_t y1 = std::min(y0 + Tile, turned.height), x1 = std::min(x0 + Tile, turned.width);
      for (std::int32_t y = y0; y < y1; ++y) {
        std::uint8_t* out = turned.RowFromTop(y) + 3 * static_cast<std::size_t>(x0);
        for (std::int32_t x = x0; x < x1; ++x, out += 3) {
          std::memcpy(out, source.RowFromTop(source.height - 1 - x) + bytesPerPixel * static_cast<std::size_t>(y), 3);
        }
      }
    }
  }
  return turned;
}

Dib RepeatPixels(const Dib& picture, int factor) {
  Dib large = MakeDib(static_cast<std::int64_t>(picture.width) * factor,
                      static_cast<std::int64_t>(picture.height) * factor, picture.bitCount);
  large.palette = picture.palette;
  large.redMask = picture.redMask;
  large.greenMask = picture.greenMask;
  large.blueMask = picture.blueMask;
  const std::size_t bytes = picture.bitCount / 8u;
  for (std::int32_t y = 0; y < picture.height; ++y) {
    const std::uint8_t* in = picture.RowFromTop(y);
    std::uint8_t* first = large.RowFromTop(y * factor);
    std::uint8_t* out = first;
    for (std::int32_t x = 0; x < picture.width; ++x, in += bytes) {
      for (int repeat = 0; repeat < factor; ++repeat, out += bytes) std::memcpy(out, in, bytes);
    }
    // The other rows of the square are the same row again.
    for (int repeat = 1; repeat < factor; ++repeat) {
      std::memcpy(large.RowFromTop(y * factor + repeat), first, large.Stride());
    }
  }
  return large;
}

}  // namespace kmrn
