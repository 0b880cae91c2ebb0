#include "picture/pixel_bytes.h"

#include <cstring>
#include <new>

namespace kmrn {

namespace {

// Picture bytes start on a cache line, as the bits of a bitmap section do. Saving a picture copies
// them into the system's file cache, and that copy is up to a third slower from the 16 or 32 bytes
// of alignment that the heap gives large blocks (a 1080p BMP in the 32-bit program).
constexpr std::align_val_t ByteAlignment{64};

std::shared_ptr<std::uint8_t> Allocate(std::size_t size) {
  return std::shared_ptr<std::uint8_t>(static_cast<std::uint8_t*>(::operator new[](size, ByteAlignment)),
                                       [](std::uint8_t* bytes) { ::operator delete[](bytes, ByteAlignment); });
}

}  // namespace

PixelBytes::PixelBytes(std::size_t size, std::uint8_t fill) : size_(size) {
  if (size == 0) return;
  bytes_ = Allocate(size);
  std::memset(bytes_.get(), fill, size);
}

PixelBytes PixelBytes::Borrowed(std::uint8_t* data, std::size_t size, std::shared_ptr<void> owner) {
  PixelBytes borrowed;
  borrowed.bytes_ = std::shared_ptr<std::uint8_t>(std::move(owner), data);
  borrowed.size_ = size;
  return borrowed;
}

void PixelBytes::MakeOwn() {
  if (!Shared()) return;
  std::shared_ptr<std::uint8_t> own = Allocate(size_);
  std::memcpy(own.get(), bytes_.get(), size_);
  bytes_ = std::move(own);
}

void PixelBytes::resize(std::size_t size, std::uint8_t fill) {
  PixelBytes resized(size, fill);
  if (size != 0 && size_ != 0) std::memcpy(resized.bytes_.get(), bytes_.get(), std::min(size, size_));
  *this = std::move(resized);
}

}  // namespace kmrn
