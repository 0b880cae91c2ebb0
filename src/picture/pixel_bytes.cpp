#include "picture/pixel_bytes.h"

#include <cstring>

namespace kmrn {

namespace {

std::shared_ptr<std::uint8_t> Allocate(std::size_t size) {
  return std::shared_ptr<std::uint8_t>(new std::uint8_t[size], std::default_delete<std::uint8_t[]>());
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
