#include "picture/dib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/app_error.h"

namespace kmrn {
namespace {

TEST(Dib, StridePadsRowsToFourBytes) {
  const struct {
    std::int64_t width;
    unsigned bitCount;
    std::uint64_t stride;
  } kCases[] = {
      {1, 1, 4},
      {32, 1, 4},
      {33, 1, 8},
      {7, 4, 4},
      {9, 4, 8},
      {3, 8, 4},
      {5, 8, 8},
      {1, 16, 4},
      {3, 16, 8},
      {1, 24, 4},
      {5, 24, 16},
      {1, 32, 4},
      {MaxDibSide, 32, 262140},  // the widest picture
      {0, 8, 0},
      {-1, 8, 0},
      {MaxDibSide + 1, 8, 0},  // widths that cannot be stored
      {1, 0, 0},
      {1, 2, 0},
      {1, 15, 0},
      {1, 64, 0},  // depths that cannot be stored
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(DibStride(c.width, c.bitCount), c.stride) << c.width << " pixels at " << c.bitCount << " bits";
  }
}

TEST(Dib, SizeLimits) {
  const struct {
    std::int64_t width, height;
    unsigned bitCount;
    bool allowed;
  } kCases[] = {
      {11520, 2160, 32, true},  // three 4K screens side by side
      {65535, 1024, 32, true},  // just under MaxDibBytes
      {65535, 1025, 32, false}, {1, MaxDibSide, 8, true}, {1, MaxDibSide + 1, 8, false},
      {1, 0, 8, false},         {1, -1, 8, false},        {0, 1, 8, false},
      {1, 1, 7, false},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(DibSizeAllowed(c.width, c.height, c.bitCount), c.allowed)
        << c.width << " x " << c.height << " at " << c.bitCount << " bits";
  }
}

TEST(Dib, MakeDibGivesZeroedRowsBottomUp) {
  Dib dib = MakeDib(5, 3, 24);
  EXPECT_EQ(dib.width, 5);
  EXPECT_EQ(dib.height, 3);
  EXPECT_EQ(dib.bitCount, 24);
  ASSERT_EQ(dib.bits.size(), 3u * 16);
  EXPECT_TRUE(std::all_of(dib.bits.begin(), dib.bits.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(dib.RowFromTop(0), dib.bits.data() + 2 * 16);  // the top row is stored last
  EXPECT_EQ(dib.RowFromTop(2), dib.bits.data());
}

TEST(Dib, MakeDibRefusesTooLargeBeforeAllocating) {
  try {
    MakeDib(65535, 65535, 32);
    ADD_FAILURE() << "made a 16 GB picture";
  } catch (const AppError& e) {
    EXPECT_EQ(std::string(e.what()), ImageTooLargeError(65535, 65535).what());
  }
}

}  // namespace
}  // namespace kmrn
