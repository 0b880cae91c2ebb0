#include "picture/picture_shrink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace kmrn {
namespace {

// A one-row grey picture (blue = green = red) at 24 bits.
Dib GreyRow(std::initializer_list<std::uint8_t> values) {
  Dib dib = MakeDib(static_cast<std::int64_t>(values.size()), 1, 24);
  std::uint8_t* p = dib.RowFromTop(0);
  for (std::uint8_t v : values) p[0] = p[1] = p[2] = v, p += 3;
  return dib;
}

TEST(PictureShrink, EveryPixelIsTheAreaWeightedAverageOfWhatItCovers) {
  // Halving: plain pairs, with a half rounded up.
  Dib halved = ShrinkByAveraging(GreyRow({0, 255, 10, 20}), {2, 1});
  EXPECT_EQ(halved.bitCount, 24);
  EXPECT_EQ(halved.RowFromTop(0)[0], 128);
  EXPECT_EQ(halved.RowFromTop(0)[3], 15);
  // Three into two: each target pixel covers one and a half source pixels (weights 2:1 and 1:2).
  Dib thirds = ShrinkByAveraging(GreyRow({0, 90, 180}), {2, 1});
  EXPECT_EQ(thirds.RowFromTop(0)[0], 30);
  EXPECT_EQ(thirds.RowFromTop(0)[3], 150);
  // Rows are averaged the same way, and each channel on its own.
  Dib column = MakeDib(1, 3, 32);
  for (std::int32_t y = 0; y < 3; ++y) column.RowFromTop(y)[2] = static_cast<std::uint8_t>(90 * y);
  Dib shrunk = ShrinkByAveraging(column, {1, 2});
  EXPECT_EQ(shrunk.bitCount, 32) << "a standard 32-bit picture keeps its depth";
  EXPECT_EQ(shrunk.RowFromTop(0)[2], 30);
  EXPECT_EQ(shrunk.RowFromTop(1)[2], 150);
  EXPECT_EQ(shrunk.RowFromTop(1)[0], 0);
}

TEST(PictureShrink, PalettePicturesAreAveragedByTheirColours) {
  Dib indexed = MakeDib(2, 2, 8);
  indexed.palette = {Rgbq{0, 0, 0, 0}, Rgbq{255, 255, 255, 0}};
  indexed.RowFromTop(0)[0] = 1;  // one white pixel among three black ones
  Dib shrunk = ShrinkByAveraging(indexed, {1, 1});
  EXPECT_EQ(shrunk.bitCount, 24);
  EXPECT_EQ(shrunk.RowFromTop(0)[0], 64);
}

// The area-weighted mean written out plainly: along each axis source pixel i spans
// [i·target, (i+1)·target) and target pixel t spans [t·source, (t+1)·source); a source pixel
// weighs its overlap across times its overlap down, and a half rounds up. The fourth byte of a
// 32-bit pixel and the padding of each row stay 0.
Dib AreaWeightedMean(const Dib& source, PixelSize size) {
  // For each target pixel along an axis, the source pixels it overlaps and by how much.
  auto overlaps = [](std::int64_t sourceSize, std::int64_t targetSize) {
    std::vector<std::vector<std::pair<std::int64_t, std::uint64_t>>> all(static_cast<std::size_t>(targetSize));
    for (std::int64_t t = 0; t < targetSize; ++t) {
      for (std::int64_t i = 0; i < sourceSize; ++i) {
        const std::int64_t from = std::max(i * targetSize, t * sourceSize);
        const std::int64_t to = std::min((i + 1) * targetSize, (t + 1) * sourceSize);
        if (to > from) all[t].push_back({i, static_cast<std::uint64_t>(to - from)});
      }
    }
    return all;
  };
  const auto across = overlaps(source.width, size.width), down = overlaps(source.height, size.height);
  const auto total = static_cast<std::uint64_t>(source.width) * static_cast<std::uint64_t>(source.height);
  const int bytes = source.bitCount / 8;
  Dib target = MakeDib(size.width, size.height, source.bitCount);
  for (std::int32_t y = 0; y < size.height; ++y) {
    for (std::int32_t x = 0; x < size.width; ++x) {
      std::uint64_t sums[3] = {0, 0, 0};
      for (const auto& [row, rowWeight] : down[y]) {
        const std::uint8_t* pixels = source.RowFromTop(static_cast<std::int32_t>(row));
        for (const auto& [column, columnWeight] : across[x]) {
          for (int c = 0; c < 3; ++c) sums[c] += rowWeight * columnWeight * pixels[column * bytes + c];
        }
      }
      for (int c = 0; c < 3; ++c)
        target.RowFromTop(y)[x * bytes + c] = static_cast<std::uint8_t>((sums[c] + total / 2) / total);
    }
  }
  return target;
}

TEST(PictureShrink, WholeBlocksAndUnevenSizesGiveTheAreaWeightedMean) {
  struct Case {
    std::int32_t width, height;
    PixelSize size;
    int darkest = 0;  // the bytes are random from this to 255
  };
  const Case cases[] = {
      // 2 x 2 and 4 x 4 blocks; the 24-bit rows padded in both pictures
      {10, 6, {5, 3}},
      {20, 8, {5, 2}},
      // single pixels
      {2, 2, {1, 1}},
      {4, 12, {1, 3}},
      // whole blocks of other shapes, and of more than 256 pixels
      {3, 1, {1, 1}},
      {6, 9, {2, 3}},
      {8, 2, {2, 1}},
      {17, 17, {1, 1}},
      // an odd width at 50 %, an odd height, both, and at 25 %
      {9, 8, {4, 4}},
      {10, 9, {5, 4}},
      {7, 5, {3, 2}},
      {13, 11, {3, 2}},
      // bright columns whose sums down do not fit 16 bits, with weights and without
      {3, 259, {1, 2}, 254},
      {1, 300, {1, 1}, 254},
  };
  std::mt19937 random(7);
  for (int bits : {24, 32}) {
    for (const Case& c : cases) {
      Dib source = MakeDib(c.width, c.height, bits);
      // Every byte random, the fourth of each 32-bit pixel and the padding too.
      for (std::uint8_t& byte : source.bits) byte = static_cast<std::uint8_t>(c.darkest + random() % (256 - c.darkest));
      const Dib shrunk = ShrinkByAveraging(source, c.size);
      EXPECT_EQ(shrunk.bitCount, bits);
      EXPECT_TRUE(shrunk.bits == AreaWeightedMean(source, c.size).bits)
          << bits << " bits, " << c.width << " x " << c.height << " to " << c.size.width << " x " << c.size.height;
    }
  }
}

}  // namespace
}  // namespace kmrn
