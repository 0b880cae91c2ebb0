#include "picture/picture_transform.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kmrn {
namespace {

// Every pixel a colour of its own (up to the depth's limits), as 0xRRGGBB read through ToBgr24.
Dib Numbered(std::int32_t width, std::int32_t height, unsigned bitCount) {
  Dib dib = MakeDib(width, height, bitCount);
  if (bitCount <= 8) {
    for (unsigned i = 0; i < (1u << bitCount); ++i) {
      dib.palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3), 7, 0});
    }
  }
  for (std::size_t i = 0; i < dib.bits.size(); ++i) dib.bits[i] = static_cast<std::uint8_t>(i * 37 + 11);
  return dib;
}

std::uint32_t ColourAt(const Dib& dib, std::int32_t x, std::int32_t y) {
  const Dib bgr = ToBgr24(dib);
  const std::uint8_t* p = bgr.RowFromTop(y) + 3 * x;
  return p[2] << 16 | p[1] << 8 | p[0];
}

TEST(PictureTransform, MirrorsMoveEveryPixelExactlyAndKeepTheDepth) {
  for (unsigned bits : {1u, 4u, 8u, 16u, 24u, 32u}) {
    SCOPED_TRACE(bits);
    const Dib original = Numbered(13, 5, bits);  // an odd width: the middle column stays
    Dib leftRight = original, topBottom = original;
    MirrorLeftRight(leftRight);
    MirrorTopBottom(topBottom);
    EXPECT_EQ(leftRight.bitCount, bits);
    for (std::int32_t y = 0; y < 5; ++y) {
      for (std::int32_t x = 0; x < 13; ++x) {
        ASSERT_EQ(ColourAt(leftRight, x, y), ColourAt(original, 12 - x, y)) << x << "," << y;
        ASSERT_EQ(ColourAt(topBottom, x, y), ColourAt(original, x, 4 - y)) << x << "," << y;
      }
    }
  }
}

TEST(PictureTransform, MirrorsOfWideRowsMoveWholePixelsAndLeaveTheRowPaddingAlone) {
  // Widths around the blocks of pixels that move together, odd and even, with and without
  // padding at 24 bits; the padding holds bytes of its own, which must stay where they are.
  for (unsigned bits : {24u, 32u}) {
    for (std::int32_t width = 1; width <= 40; ++width) {
      SCOPED_TRACE(testing::Message() << bits << " bits, " << width << " pixels");
      const Dib original = Numbered(width, 2, bits);
      Dib expected = original;
      const std::size_t bytes = bits / 8;
      for (std::int32_t y = 0; y < 2; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
          const std::uint8_t* from = original.RowFromTop(y) + bytes * (width - 1 - x);
          std::copy(from, from + bytes, expected.RowFromTop(y) + bytes * x);
        }
      }
      Dib mirrored = original;
      MirrorLeftRight(mirrored);
      ASSERT_EQ(mirrored.bits, expected.bits);
    }
  }
}

TEST(PictureTransform, AQuarterTurnPutsTheTopLeftPixelTopRightAndFourGiveThePictureBack) {
  const Dib original = Numbered(300, 100, 32);
  const Dib turned = RotateClockwise(original);
  EXPECT_EQ(turned.bitCount, 24);
  EXPECT_EQ(turned.width, 100);
  EXPECT_EQ(turned.height, 300);
  EXPECT_EQ(ColourAt(turned, 99, 0), ColourAt(original, 0, 0));
  EXPECT_EQ(ColourAt(turned, 0, 0), ColourAt(original, 0, 99));
  EXPECT_EQ(ColourAt(turned, 0, 299), ColourAt(original, 299, 99));
  const Dib back = RotateClockwise(RotateClockwise(RotateClockwise(turned)));
  EXPECT_EQ(back.bits, ToBgr24(original).bits);
}

TEST(PictureTransform, RepeatingPixelsMakesSquaresAndLeavesTheOriginalAlone) {
  for (unsigned bits : {8u, 16u, 24u, 32u}) {
    SCOPED_TRACE(bits);
    const Dib original = Numbered(7, 3, bits);  // 7 pixels: rows with padding at 8 and 24 bits
    const Dib before = original;
    const Dib large = RepeatPixels(original, 4);
    ASSERT_EQ(large.width, 28);
    ASSERT_EQ(large.height, 12);
    EXPECT_EQ(large.bitCount, bits);
    for (std::int32_t y = 0; y < 12; ++y) {
      for (std::int32_t x = 0; x < 28; ++x) ASSERT_EQ(ColourAt(large, x, y), ColourAt(original, x / 4, y / 4));
    }
    EXPECT_EQ(original.bits, before.bits);
  }
}

}  // namespace
}  // namespace kmrn
