#include "picture/pointer_overlay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace kmrn {
namespace {

constexpr Rgbq Black{0, 0, 0, 0};
constexpr Rgbq White{255, 255, 255, 0};

Rgbq PixelAt(const Dib& dib, std::int32_t x, std::int32_t y) {
  const std::uint8_t* p = dib.RowFromTop(y) + static_cast<std::size_t>(x) * (dib.bitCount / 8u);
  return {p[0], p[1], p[2], dib.bitCount == 32 ? p[3] : std::uint8_t{0}};
}

Dib Filled(std::int32_t width, std::int32_t height, unsigned bitCount, Rgbq colour) {
  Dib dib = MakeDib(width, height, bitCount);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      std::uint8_t* p = dib.RowFromTop(y) + static_cast<std::size_t>(x) * (bitCount / 8u);
      p[0] = colour.blue, p[1] = colour.green, p[2] = colour.red;
      if (bitCount == 32) p[3] = colour.reserved;
    }
  }
  return dib;
}

// A shape that is all white and opaque, with its hotspot in the middle.
PointerShape WhiteSquare(std::int32_t side) {
  return MakePointerShape({side, side}, side / 2, side / 2,
                          std::vector<Rgbq>(static_cast<std::size_t>(side * side), Black),
                          std::vector<Rgbq>(static_cast<std::size_t>(side * side), White), false);
}

TEST(PointerOverlay, AMonochromePointerClearsPaintsKeepsAndInvertsByItsMasks) {
  // One pixel of each kind, left to right: transparent (AND 1, XOR 0), black (0, 0), white
  // (0, 1) and inverting (1, 1), the AND half of the mask above the XOR half.
  const PointerShape shape =
      MakePointerShape({4, 1}, 0, 0, {White, Black, Black, White, Black, Black, White, White}, {}, true);
  ASSERT_FALSE(shape.alpha);
  for (unsigned bitCount : {24u, 32u}) {
    SCOPED_TRACE(bitCount);
    for (Rgbq beneath : {Rgbq{20, 30, 40, 7}, Rgbq{230, 220, 200, 7}}) {
      Dib picture = Filled(4, 1, bitCount, beneath);
      DrawPointer(picture, shape, 0, 0);
      const std::uint8_t x = bitCount == 32 ? 7 : 0;  // the fourth byte stays
      EXPECT_EQ(PixelAt(picture, 0, 0), (Rgbq{beneath.blue, beneath.green, beneath.red, x}));
      EXPECT_EQ(PixelAt(picture, 1, 0), (Rgbq{0, 0, 0, x}));
      EXPECT_EQ(PixelAt(picture, 2, 0), (Rgbq{255, 255, 255, x}));
      EXPECT_EQ(PixelAt(picture, 3, 0),
                (Rgbq{static_cast<std::uint8_t>(255 - beneath.blue), static_cast<std::uint8_t>(255 - beneath.green),
                      static_cast<std::uint8_t>(255 - beneath.red), x}));
    }
  }
  // A colour pointer without alpha uses its AND mask and XORs its colour the same way.
  const PointerShape colour = MakePointerShape({2, 1}, 0, 0, {White, Black}, {{1, 2, 3, 0}, {90, 80, 70, 0}}, true);
  ASSERT_FALSE(colour.alpha) << "no alpha anywhere: the masks decide";
  Dib picture = Filled(2, 1, 32, {0x0F, 0xF0, 0xFF, 0});
  DrawPointer(picture, colour, 0, 0);
  EXPECT_EQ(PixelAt(picture, 0, 0), (Rgbq{0x0E, 0xF2, 0xFC, 0}));
  EXPECT_EQ(PixelAt(picture, 1, 0), (Rgbq{90, 80, 70, 0}));
}

TEST(PointerOverlay, AColourPointerWithAlphaIsBlendedByItsUnassociatedAlpha) {
  const PointerShape shape =
      MakePointerShape({4, 1}, 0, 0, {Black, Black, Black, Black},
                       {{255, 255, 255, 128}, {0x20, 0x40, 0x80, 0x40}, {9, 9, 9, 0}, {200, 100, 50, 255}}, true);
  ASSERT_TRUE(shape.alpha);
  Dib picture = Filled(4, 1, 32, {0x60, 0x40, 0x20, 0});
  DrawPointer(picture, shape, 0, 0);
  // White at half over (0x60, 0x40, 0x20); the next over the same; none; all.
  EXPECT_EQ(PixelAt(picture, 0, 0), (Rgbq{0xB0, 0xA0, 0x90, 0}));
  EXPECT_EQ(PixelAt(picture, 1, 0), (Rgbq{0x50, 0x40, 0x38, 0}));
  EXPECT_EQ(PixelAt(picture, 2, 0), (Rgbq{0x60, 0x40, 0x20, 0}));
  EXPECT_EQ(PixelAt(picture, 3, 0), (Rgbq{200, 100, 50, 0}));
  // Each of the two products is rounded on its own.
  Dib grey = Filled(1, 1, 24, {250, 250, 250, 0});
  DrawPointer(grey, MakePointerShape({1, 1}, 0, 0, {Black}, {{10, 10, 10, 60}}, true), 0, 0);
  EXPECT_EQ(PixelAt(grey, 0, 0), (Rgbq{193, 193, 193, 0}));
  // Alpha from a colour bitmap of fewer than 32 bits is no alpha: its masks decide.
  EXPECT_FALSE(MakePointerShape({1, 1}, 0, 0, {White}, {{1, 1, 1, 9}}, false).alpha);
  // Bitmaps that do not fit the size draw nothing.
  Dib untouched = Filled(2, 2, 32, Black);
  DrawPointer(untouched, MakePointerShape({2, 2}, 0, 0, {Black, Black}, {}, true), 0, 0);
  DrawPointer(untouched, MakePointerShape({2, 2}, 0, 0, {Black}, {White, White, White, White}, false), 0, 0);
  EXPECT_EQ(PixelAt(untouched, 0, 0), Black);
}

TEST(PointerOverlay, OnlyThePartInsideThePictureIsDrawnAtEveryEdge) {
  struct Case {
    std::int32_t x, y;
    std::int32_t left, top, right, bottom;  // the white area expected, right and bottom exclusive
  };
  // A 3x3 shape, hotspot in the middle, on a 5x4 picture.
  for (const Case& c : {Case{0, 0, 0, 0, 2, 2}, Case{4, 3, 3, 2, 5, 4}, Case{-1, 2, 0, 1, 1, 4}, Case{5, 0, 4, 0, 5, 2},
                        Case{2, -1, 1, 0, 4, 1}, Case{2, 4, 1, 3, 4, 4}, Case{2, 2, 1, 1, 4, 4},
                        Case{-2, 1, 0, 0, 0, 0}, Case{6, 1, 0, 0, 0, 0}, Case{2, -2, 0, 0, 0, 0},
                        Case{2, 5, 0, 0, 0, 0}, Case{std::numeric_limits<std::int32_t>::min(), 0, 0, 0, 0, 0},
                        Case{std::numeric_limits<std::int32_t>::max(), 0, 0, 0, 0, 0}}) {
    SCOPED_TRACE(::testing::Message() << "at " << c.x << "," << c.y);
    Dib picture = Filled(5, 4, 24, Black);
    DrawPointer(picture, WhiteSquare(3), c.x, c.y);
    for (std::int32_t y = 0; y < 4; ++y) {
      for (std::int32_t x = 0; x < 5; ++x) {
        const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
        EXPECT_EQ(PixelAt(picture, x, y), inside ? White : Black) << x << "," << y;
      }
    }
  }
}

TEST(PointerOverlay, OtherDepthsBecome24BitsWithThePointerDrawn) {
  Dib picture = MakeDib(2, 1, 16);  // 5-5-5, all black
  DrawPointer(picture, WhiteSquare(1), 1, 0);
  ASSERT_EQ(picture.bitCount, 24);
  EXPECT_EQ(PixelAt(picture, 0, 0), Black);
  EXPECT_EQ(PixelAt(picture, 1, 0), White);
}

TEST(PointerOverlay, ScalingRepeatsOrDropsWholePixelsAndMovesTheHotspot) {
  // Two columns, black then white, in both masks: clear, then invert.
  const PointerShape shape =
      MakePointerShape({2, 2}, 1, 1, {Black, White, Black, White, Black, White, Black, White}, {}, true);
  const PointerShape larger = ScalePointerShape(shape, 48, 32);
  EXPECT_EQ(larger.size, (PixelSize{3, 3}));
  EXPECT_EQ(larger.hotspotX, 1);
  EXPECT_EQ(larger.hotspotY, 1);
  // The middle pixel's centre lies in the second column.
  EXPECT_EQ(larger.andMask, (std::vector<Rgbq>{Black, White, White, Black, White, White, Black, White, White}));
  EXPECT_EQ(larger.image, larger.andMask);
  const PointerShape doubled = ScalePointerShape(shape, 64, 32);
  EXPECT_EQ(doubled.size, (PixelSize{4, 4}));
  EXPECT_EQ(doubled.hotspotX, 2);
  // Each pixel doubled, and halved again it is what it was.
  const PointerShape halved = ScalePointerShape(doubled, 16, 32);
  EXPECT_EQ(halved.andMask, shape.andMask);
  EXPECT_EQ(ScalePointerShape(shape, 32, 32).size, shape.size);
  EXPECT_EQ(ScalePointerShape(shape, 0, 32).size, shape.size);
  EXPECT_EQ(ScalePointerShape(doubled, 4, 2).size, doubled.size) << "already made at the size shown";
}

}  // namespace
}  // namespace kmrn
