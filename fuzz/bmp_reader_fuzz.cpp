// Feeds arbitrary bytes to the BMP reader. Refusing a file with the program's error is fine;
// anything else (a crash, a sanitizer report, a leak, a hang, a huge allocation) is a bug.

#include <cstddef>
#include <cstdint>
#include <span>

#include "framework/app_error.h"
#include "picture/image_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    kmrn::DecodeBmp(std::span<const std::uint8_t>(data, size));
  } catch (const kmrn::AppError&) {
  }
  return 0;
}
