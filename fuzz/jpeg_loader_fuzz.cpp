// Feeds arbitrary bytes to the JPEG reader, in full colour or for a low-colour display as the last
// byte says (a valid file ends with 0xD9 and so starts in full colour; one mutation reaches the
// quantizer). Refusing a file with the program's error is fine; anything else (a crash, a
// sanitizer report, a leak, a hang, a huge allocation) is a bug.
//
// A few bytes can declare a picture of a quarter of a gigabyte, which the reader then decodes in
// full (a truncated file gives grey rows), taking seconds under the sanitizers; with such inputs
// the fuzzer ran a few inputs a second. Those sizes follow the same code as small ones, so inputs
// with a frame header (SOFn) of more than a few megapixels are passed over here.

#include <cstddef>
#include <cstdint>
#include <span>

#include "framework/app_error.h"
#include "picture/image_files.h"

namespace {

constexpr std::uint64_t MaxPixels = 1u << 20;

bool IsFrameMarker(std::uint8_t code) {
  return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

// True when anything that looks like a frame header declares more than MaxPixels (a megapixel).
bool DeclaresAHugePicture(const std::uint8_t* data, std::size_t size) {
  for (std::size_t i = 0; i + 8 < size; ++i) {
    if (data[i] != 0xFF || !IsFrameMarker(data[i + 1])) continue;
    const std::uint64_t height = (data[i + 5] << 8) | data[i + 6];
    const std::uint64_t width = (data[i + 7] << 8) | data[i + 8];
    if (width * height > MaxPixels) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (DeclaresAHugePicture(data, size)) return 0;
  bool lowColorDisplay = size > 0 && (data[size - 1] & 1) == 0;
  try {
    kmrn::DecodeJpeg(std::span<const std::uint8_t>(data, size), lowColorDisplay);
  } catch (const kmrn::AppError&) {
  }
  return 0;
}
