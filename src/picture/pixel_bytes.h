#pragma once
// The bytes of a picture. Copies share them until one of them is changed (a copy that is only
// looked at costs nothing, which matters for pictures of tens of megabytes); the bytes can also
// live in memory that something else owns, such as the bitmap the screen was copied into, which
// then stays alive for as long as any picture uses it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kmrn {

class PixelBytes {
 public:
  PixelBytes() = default;
  // size bytes of the picture's own, each set to fill, starting on a 64-byte boundary (as the
  // bytes of every copy made own or resized do). Throws std::bad_alloc.
  explicit PixelBytes(std::size_t size, std::uint8_t fill = 0);
  // size bytes at data, which owner keeps alive (and lets the picture change).
  static PixelBytes Borrowed(std::uint8_t* data, std::size_t size, std::shared_ptr<void> owner);

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  const std::uint8_t* data() const { return bytes_.get(); }
  const std::uint8_t* begin() const { return data(); }
  const std::uint8_t* end() const { return data() + size_; }
  std::uint8_t operator[](std::size_t i) const { return data()[i]; }

  // Writing access: the bytes become this picture's alone first.
  std::uint8_t* data() {
    MakeOwn();
    return bytes_.get();
  }
  std::uint8_t* begin() { return data(); }
  std::uint8_t* end() { return data() + size_; }
  std::uint8_t& operator[](std::size_t i) { return data()[i]; }

  // Keeps the first size bytes (new ones set to fill), in bytes of this picture's own.
  void resize(std::size_t size, std::uint8_t fill = 0);
  void assign(std::size_t size, std::uint8_t fill) { *this = PixelBytes(size, fill); }

  // True when another picture (or the owner of borrowed bytes) uses the same bytes.
  bool Shared() const { return bytes_.use_count() > 1; }

  friend bool operator==(const PixelBytes& a, const PixelBytes& b) {
    return a.size_ == b.size_ && (a.data() == b.data() || std::equal(a.begin(), a.end(), b.begin()));
  }

 private:
  void MakeOwn();

  std::shared_ptr<std::uint8_t> bytes_;
  std::size_t size_ = 0;
};

}  // namespace kmrn
