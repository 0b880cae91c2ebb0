#include "viewer/dib.h"

#include "framework/app_error.h"

namespace kmrn {

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

}  // namespace kmrn
