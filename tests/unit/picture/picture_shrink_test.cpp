#include "picture/picture_shrink.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kmrn
