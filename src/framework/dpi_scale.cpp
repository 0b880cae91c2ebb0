#include "framework/dpi_scale.h"

#include <cstdint>

namespace kmrn {

int ScaleForDpi(int designPixels, int dpi) noexcept {
  const std::int64_t scaled = std::int64_t{designPixels} * dpi;
  const std::int64_t half = DesignDpi / 2;
  return static_cast<int>((scaled >= 0 ? scaled + half : scaled - half) / DesignDpi);
}

}  // namespace kmrn
