// Feeds arbitrary bytes to the JPEG reader, in full colour or for a low-colour display as the last
// byte says (a valid file ends with 0xD9 and so starts in full colour; one mutation reaches the
// quantizer). Refusing a file with the program's error is fine; anything else (a crash, a
// sanitizer report, a leak, a hang, a huge allocation) is a bug.

#include <cstddef>
#include <cstdint>
#include <span>

#include "framework/app_error.h"
#include "viewer/image_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  bool lowColorDisplay = size > 0 && (data[size - 1] & 1) == 0;
  try {
    kmrn::DecodeJpeg(std::span<const std::uint8_t>(data, size), lowColorDisplay);
  } catch (const kmrn::AppError&) {
  }
  return 0;
}
