#include "picture/dib.h"

#include <bit>

#include "framework/app_error.h"

namespace kmrn {
namespace {

struct Channel {
  std::uint32_t mask;
  int shift;
  std::uint64_t max;  // the largest value of the channel once shifted down
};

Channel ChannelOf(std::uint32_t mask) {
  if (mask == 0) return {0, 0, 0};
  int shift = std::countr_zero(mask);
  return {mask, shift, static_cast<std::uint64_t>(mask >> shift)};
}

std::uint8_t Expand(const Channel& channel, std::uint32_t pixel) {
  if (channel.max == 0) return 0;
  std::uint64_t value = (pixel & channel.mask) >> channel.shift;
  return static_cast<std::uint8_t>((value * 255 + channel.max / 2) / channel.max);
}

}  // namespace

std::uint64_t DibStride(std::int64_t width, unsigned bitCount) {
  switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return 0;
  }
  if (width <= 0 || width > MaxDibSide) return 0;
  return (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
}

bool DibSizeAllowed(std::int64_t width, std::int64_t height, unsigned bitCount) {
  if (height <= 0 || height > MaxDibSide) return false;
  std::uint64_t stride = DibStride(width, bitCount);
  return stride != 0 && stride * static_cast<std::uint64_t>(height) <= MaxDibBytes;
}

Dib MakeDib(std::int64_t width, std::int64_t height, unsigned bitCount) {
  if (!DibSizeAllowed(width, height, bitCount)) throw ImageTooLargeError(width, height);
  Dib dib;
  dib.width = static_cast<std::int32_t>(width);
  dib.height = static_cast<std::int32_t>(height);
  dib.bitCount = static_cast<std::uint16_t>(bitCount);
  try {
    dib.bits.assign(DibStride(width, bitCount) * static_cast<std::uint64_t>(height), 0);
  } catch (const std::bad_alloc&) {
    throw ImageTooLargeError(width, height);
  }
  return dib;
}

std::size_t Dib::Stride() const { return static_cast<std::size_t>(DibStride(width, bitCount)); }

std::uint8_t* Dib::RowFromTop(std::int32_t y) {
  return bits.data() + Stride() * static_cast<std::size_t>(height - 1 - y);
}

const std::uint8_t* Dib::RowFromTop(std::int32_t y) const {
  return bits.data() + Stride() * static_cast<std::size_t>(height - 1 - y);
}

Dib ToBgr24(const Dib& dib) {
  if (dib.bitCount == 24) return dib;
  Dib out = MakeDib(dib.width, dib.height, 24);
  if (IsPlainBgrx(dib)) {
    // The common screen picture: the first three bytes of every four.
    for (std::int32_t y = 0; y < dib.height; ++y) {
      const std::uint8_t* src = dib.RowFromTop(y);
      std::uint8_t* dst = out.RowFromTop(y);
      for (std::int32_t x = 0; x < dib.width; ++x, src += 4, dst += 3) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
      }
    }
    return out;
  }
  const bool indexed = dib.bitCount <= 8;
  Channel red{}, green{}, blue{};
  if (dib.bitCount == 16) {
    bool own = dib.HasMasks();
    red = ChannelOf(own ? dib.redMask : 0x7C00u);
    green = ChannelOf(own ? dib.greenMask : 0x03E0u);
    blue = ChannelOf(own ? dib.blueMask : 0x001Fu);
  } else if (dib.bitCount == 32) {
    bool own = dib.HasMasks();
    red = ChannelOf(own ? dib.redMask : 0x00FF0000u);
    green = ChannelOf(own ? dib.greenMask : 0x0000FF00u);
    blue = ChannelOf(own ? dib.blueMask : 0x000000FFu);
  }
  const Rgbq black{};
  for (std::int32_t y = 0; y < dib.height; ++y) {
    const std::uint8_t* src = dib.RowFromTop(y);
    std::uint8_t* dst = out.RowFromTop(y);
    for (std::int32_t x = 0; x < dib.width; ++x, dst += 3) {
      if (indexed) {
        unsigned index;
        if (dib.bitCount == 8) {
          index = src[x];
        } else if (dib.bitCount == 4) {
          index = (src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
        } else {
          index = (src[x / 8] >> (7 - x % 8)) & 0x01;
        }
        // A damaged picture may point past its palette; such pixels come out black.
        const Rgbq& colour = index < dib.palette.size() ? dib.palette[index] : black;
        dst[0] = colour.blue;
        dst[1] = colour.green;
        dst[2] = colour.red;
      } else {
        std::uint32_t pixel;
        if (dib.bitCount == 16) {
          pixel = static_cast<std::uint32_t>(src[2 * x] | src[2 * x + 1] << 8);
        } else {
          const std::uint8_t* p = src + 4 * x;
          pixel = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                  static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
        }
        dst[0] = Expand(blue, pixel);
        dst[1] = Expand(green, pixel);
        dst[2] = Expand(red, pixel);
      }
    }
  }
  return out;
}

bool IsPlainBgrx(const Dib& dib) {
  return dib.bitCount == 32 && (!dib.HasMasks() || (dib.redMask == 0x00FF0000u && dib.greenMask == 0x0000FF00u &&
                                                    dib.blueMask == 0x000000FFu));
}

}  // namespace kmrn
