#include "picture/picture_shrink.h"

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

  // The weights under every target column, one after another.
  std::vector<Weight> columns;
  std::vector<std::size_t> columnStart(static_cast<std::size_t>(size.width) + 1);
  for (std::int32_t x = 0; x < size.width; ++x) {
    columnStart[x] = columns.size();
    for (const Weight& w : WeightsUnder(x, source->width, size.width)) columns.push_back(w);
  }
  columnStart[size.width] = columns.size();
  const std::uint64_t total = static_cast<std::uint64_t>(source->width) * static_cast<std::uint64_t>(source->height);
  const std::uint64_t half = total / 2;
  const double reciprocal = 1.0 / static_cast<double>(total);
  // The rounded mean, by a multiplication and a correction of the rare last-place error rather
  // than by a division per channel.
  auto mean = [&](std::uint64_t sum) {
    const std::uint64_t rounded = sum + half;
    auto q = static_cast<std::uint64_t>(static_cast<double>(rounded) * reciprocal);
    if (q * total > rounded) --q;
    if ((q + 1) * total <= rounded) ++q;
    return static_cast<std::uint8_t>(q);
  };

  // One target row at a time: the weighted sum of the source pixels beneath each target pixel.
  std::vector<std::uint64_t> sums(static_cast<std::size_t>(size.width) * 3);
  for (std::int32_t y = 0; y < size.height; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    for (const Weight& row : WeightsUnder(y, source->height, size.height)) {
      const std::uint8_t* pixels = source->RowFromTop(row.index);
      for (std::int32_t x = 0; x < size.width; ++x) {
        // At most 255 times the source width: 32 bits suffice across.
        std::uint32_t b = 0, g = 0, r = 0;
        for (std::size_t i = columnStart[x]; i < columnStart[x + 1]; ++i) {
          const std::uint8_t* p = pixels + static_cast<std::size_t>(columns[i].index) * bytesPerPixel;
          const auto weight = static_cast<std::uint32_t>(columns[i].weight);
          b += weight * p[0];
          g += weight * p[1];
          r += weight * p[2];
        }
        sums[3 * x] += row.weight * b;
        sums[3 * x + 1] += row.weight * g;
        sums[3 * x + 2] += row.weight * r;
      }
    }
    std::uint8_t* out = target.RowFromTop(y);
    for (std::int32_t x = 0; x < size.width; ++x, out += bytesPerPixel) {
      for (int c = 0; c < 3; ++c) out[c] = mean(sums[3 * x + c]);
    }
  }
  return target;
}

}  // namespace kmrn
