// Feeds arbitrary bytes to the BMP reader, as a file and as a packed DIB from the clipboard (the
// same bytes without their first 14). Refusing them with the program's error is fine; anything
// else (a crash, a sanitizer report, a leak, a hang, a huge allocation) is a bug.

#include <cstddef>
#include <cstdint>
#include <span>

#include "framework/app_error.h"
#include "picture/image_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  try {
    kmrn::DecodeBmp(bytes);
  } catch (const kmrn::AppError&) {
  }
  if (size < 14) return 0;
  try {
    kmrn::DecodePackedDib(bytes.subspan(14));
  } catch (const kmrn::AppError&) {
  }
  return 0;
}
