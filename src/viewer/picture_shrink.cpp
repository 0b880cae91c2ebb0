#include "viewer/picture_shrink.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kmrn {
namespace {

// How much of source pixel `index` lies under one target pixel. Positions are counted in units of
// 1/(source size × target size): source pixel i spans [i·target, (i+1)·target), target pixel t
// spans [t·source, (t+1)·source), so every overlap is a whole number and the weights under one
// target pixel add up to exactly `source`.
struct Weight {
  std::int32_t index;
  std::uint64_t weight;
};

std::vector<Weight> WeightsUnder(std::int32_t target, std::int32_t sourceSize, std::int32_t targetSize) {
  const std::uint64_t from = static_cast<std::uint64_t>(target) * sourceSize;
  const std::uint64_t to = from + sourceSize;
  std::vector<Weight> weights;
  for (std::uint64_t i = from / targetSize; i * targetSize < to; ++i) {
    const std::uint64_t left = std::max<std::uint64_t>(i * targetSize, from);
    const std::uint64_t right = std::min<std::uint64_t>((i + 1) * targetSize, to);
    if (right > left) weights.push_back({static_cast<std::int32_t>(i), right - left});
  }
  return weights;
}

}  // namespace

Dib ShrinkByAveraging(const Dib& original, PixelSize size) {
  Dib converted;
  const Dib* source = &original;
  if (original.bitCount != 24 && !IsPlainBgrx(original)) {
    converted = ToBgr24(original);
    source = &converted;
  }
  const int bytesPerPixel = source->bitCount / 8;
  Dib target = MakeDib(size.width, size.height, source->bitCount);

  std::vector<std::vector<Weight>> columns(static_cast<std::size_t>(size.width));
  for (std::int32_t x = 0; x < size.width; ++x) columns[x] = WeightsUnder(x, source->width, size.width);
  const std::uint64_t total = static_cast<std::uint64_t>(source->width) * static_cast<std::uint64_t>(source->height);

  // One target row at a time: the weighted sum of the source pixels beneath each target pixel.
  std::vector<std::uint64_t> sums(static_cast<std::size_t>(size.width) * 3);
  for (std::int32_t y = 0; y < size.height; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    for (const Weight& row : WeightsUnder(y, source->height, size.height)) {
      const std::uint8_t* pixels = source->RowFromTop(row.index);
      for (std::int32_t x = 0; x < size.width; ++x) {
        std::uint64_t b = 0, g = 0, r = 0;
        for (const Weight& column : columns[x]) {
          const std::uint8_t* p = pixels + static_cast<std::size_t>(column.index) * bytesPerPixel;
          b += column.weight * p[0];
          g += column.weight * p[1];
          r += column.weight * p[2];
        }
        sums[3 * x] += row.weight * b;
        sums[3 * x + 1] += row.weight * g;
        sums[3 * x + 2] += row.weight * r;
      }
    }
    std::uint8_t* out = target.RowFromTop(y);
    for (std::int32_t x = 0; x < size.width; ++x, out += bytesPerPixel) {
      for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>((sums[3 * x + c] + total / 2) / total);
    }
  }
  return target;
}

}  // namespace kmrn
