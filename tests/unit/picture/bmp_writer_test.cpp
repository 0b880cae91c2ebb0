#include <gtest/gtest.h>

#include "test_support.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "picture/image_files.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace kmrn {
namespace {

using testing::PathOf;

namespace fs = std::filesystem;

std::uint32_t U32At(const std::vector<std::uint8_t>& data, std::size_t at) {
  return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
}

// A folder of its own for each test, removed afterwards.
class BmpWriter : public testing::TempFolderTest {
 protected:
  std::string PathOf(const std::string& name) const { return PathIn(name); }
};

// A picture whose every byte, row padding included, differs from its neighbours, so that a byte
// written out of place or left out shows.
Dib Sample(int width, int height, unsigned bitCount) {
  Dib dib = MakeDib(width, height, bitCount);
  std::uint32_t state = 12345;
  for (std::uint8_t& byte : dib.bits) {
    state = state * 1103515245 + 12345;
    byte = static_cast<std::uint8_t>(state >> 16);
  }
  return dib;
}

// The colour a reader must show for a pixel, worked out from the picture's own definition.
Rgbq ExpectedColor(const Dib& dib, int x, int y) {
  const std::uint8_t* row = dib.RowFromTop(y);
  auto channel = [](std::uint32_t pixel, std::uint32_t mask) -> std::uint8_t {
    if (mask == 0) return 0;
    int shift = 0, bits = 0;
    while (!(mask >> shift & 1)) ++shift;
    while (shift + bits < 32 && (mask >> (shift + bits) & 1)) ++bits;
    const double value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>(bits >= 8 ? value / (1 << (bits - 8)) : value * 255 / ((1 << bits) - 1) + 0.5);
  };
  switch (dib.bitCount) {
    case 1:
    case 4:
    case 8: {
      const int bits = dib.bitCount, perByte = 8 / bits;
      const int index = row[x / perByte] >> (8 - bits * (x % perByte + 1)) & ((1 << bits) - 1);
      if (index >= static_cast<int>(dib.palette.size())) return Rgbq{};
      Rgbq c = dib.palette[index];
      c.reserved = 0;
      return c;
    }
    case 16: {
      const std::uint32_t pixel = row[2 * x] | row[2 * x + 1] << 8;
      if (!dib.HasMasks()) return {channel(pixel, 0x1F), channel(pixel, 0x3E0), channel(pixel, 0x7C00), 0};
      return {channel(pixel, dib.blueMask), channel(pixel, dib.greenMask), channel(pixel, dib.redMask), 0};
    }
    case 24: return {row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
    default: {
      const std::uint32_t pixel = row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16 | row[4 * x + 3] << 24;
      if (!dib.HasMasks()) return {row[4 * x], row[4 * x + 1], row[4 * x + 2], 0};
      return {channel(pixel, dib.blueMask), channel(pixel, dib.greenMask), channel(pixel, dib.redMask), 0};
    }
  }
}

TEST_F(BmpWriter, RoundTripsEveryDepth) {
  const struct {
    unsigned bitCount;
    std::size_t colors;
    std::uint32_t red, green, blue;
  } kCases[] = {
      {1, 2, 0, 0, 0},
      {1, 4, 0, 0, 0},  // more colours than 1 bit indexes: only the first two are written
      {4, 16, 0, 0, 0},
      {4, 5, 0, 0, 0},  // indexes beyond a short palette read as black
      {8, 256, 0, 0, 0},
      {8, 200, 0, 0, 0},
      {16, 0, 0, 0, 0},                 // 5-5-5
      {16, 0, 0xF800, 0x07E0, 0x001F},  // 5-6-5
      {24, 0, 0, 0, 0},
      {32, 0, 0, 0, 0},                             // blue, green, red, unused
      {32, 0, 0x000000FF, 0x0000FF00, 0x00FF0000},  // red first
  };
  const std::string path = PathOf("picture.bmp");
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::to_string(c.bitCount) + " bits, " + std::to_string(c.colors) + " colours, masks " +
                 std::to_string(c.red) + "/" + std::to_string(c.green) + "/" + std::to_string(c.blue));
    Dib dib = Sample(13, 5, c.bitCount);  // 13 pixels: every depth but 32 needs row padding
    for (std::size_t i = 0; i < c.colors; ++i) {
      const auto v = static_cast<std::uint8_t>(i);
      dib.palette.push_back({v, static_cast<std::uint8_t>(255 - v), static_cast<std::uint8_t>(v * 7), 0});
    }
    dib.redMask = c.red, dib.greenMask = c.green, dib.blueMask = c.blue;

    SaveBmp(dib, path);  // the same name each time: each save replaces the last
    const std::vector<std::uint8_t> file = ReadWholeFile(path);
    const std::vector<std::uint8_t> header = EncodeBmpHeader(dib);
    ASSERT_EQ(file.size(), header.size() + dib.bits.size());
    EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin()));
    EXPECT_TRUE(std::equal(dib.bits.begin(), dib.bits.end(), file.begin() + static_cast<long>(header.size())));
    EXPECT_EQ(U32At(file, 2), file.size());                       // bfSize
    EXPECT_EQ(U32At(file, 10), header.size());                    // bfOffBits
    EXPECT_EQ(U32At(file, 30), dib.HasMasks() ? 3u : 0u);         // biCompression
    EXPECT_EQ(U32At(file, 46), c.bitCount == 1 ? 2u : c.colors);  // biClrUsed

    const Dib decoded = DecodeBmp(file);
    // Plain 8- and 24-bit files come back at their own depth, the others at 32 bits.
    EXPECT_EQ(decoded.bitCount, c.bitCount == 8 || c.bitCount == 24 ? c.bitCount : 32);
    const Dib back = ToBgr24(decoded);
    ASSERT_EQ(back.width, dib.width);
    ASSERT_EQ(back.height, dib.height);
    int wrong = 0;
    for (int y = 0; y < dib.height; ++y) {
      for (int x = 0; x < dib.width; ++x) {
        const std::uint8_t* got = back.RowFromTop(y) + 3 * x;
        wrong += Rgbq{got[0], got[1], got[2], 0} != ExpectedColor(dib, x, y);
      }
    }
    EXPECT_EQ(wrong, 0);
  }
  EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"picture.bmp"});
}

TEST_F(BmpWriter, WritesExactHeaders) {
  Dib indexed = MakeDib(3, 2, 8);
  indexed.palette = {{1, 2, 3, 99}, {4, 5, 6, 0}};  // the unused byte is written as zero
  // clang-format off
  const std::vector<std::uint8_t> kIndexedHeader = {
      'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,              // file size 70, reserved, rows at 62
      40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 8, 0,             // header size, width, height, planes, bits
      0, 0, 0, 0, 8, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,  // BI_RGB, rows' size, 2835 per metre twice
      2, 0, 0, 0, 0, 0, 0, 0,                                      // colours used, colours important
      1, 2, 3, 0, 4, 5, 6, 0};                                     // the palette
  // clang-format on
  EXPECT_EQ(EncodeBmpHeader(indexed), kIndexedHeader);

  Dib masked = MakeDib(2, 1, 16);
  masked.redMask = 0xF800, masked.greenMask = 0x07E0, masked.blueMask = 0x001F;
  // clang-format off
  const std::vector<std::uint8_t> kMaskedHeader = {
      'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0,              // rows at 66, after the masks
      40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 16, 0,
      3, 0, 0, 0, 4, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,  // BI_BITFIELDS
      0, 0, 0, 0, 0, 0, 0, 0,                                      // no palette
      0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};             // red, green, blue masks
  // clang-format on
  EXPECT_EQ(EncodeBmpHeader(masked), kMaskedHeader);
}

TEST_F(BmpWriter, SaveIntoMissingFolderFailsAndLeavesNothing) {
  const std::string path = PathOf("missing/picture.bmp");
  try {
    SaveBmp(Sample(4, 4, 24), path);
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const AppError& e) {
    EXPECT_TRUE(testing::IsFileErrorWithReason(e.what(), FileCreateError(path)));
  }
  EXPECT_TRUE(FilesInFolder().empty());
}

#ifndef _WIN32
// Lets the process write no file beyond `bytes` while it lives, so that a save fails part way.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};
#endif

TEST_F(BmpWriter, FailedSaveKeepsTheExistingFile) {
  const std::string path = PathOf("picture.bmp");
  const std::string oldContent = "the picture saved before";
  std::ofstream(folder_ / "picture.bmp", std::ios::binary) << oldContent;

  // A picture whose rows are shorter than its size says would make a file that lies.
  Dib inconsistent = Sample(16, 16, 32);
  inconsistent.bits.resize(inconsistent.bits.size() / 2);
  std::vector<std::pair<std::string, std::string>> errors;  // case, error text
  try {
    SaveBmp(inconsistent, path);
  } catch (const AppError& e) {
    errors.emplace_back("inconsistent picture", e.what());
  }
#ifndef _WIN32
  // The disk fills up after the header: a real failure in the middle of the rows.
  try {
    FileSizeLimit limit(1000);
    SaveBmp(Sample(64, 64, 32), path);
  } catch (const AppError& e) {
    errors.emplace_back("disk full", e.what());
  }
  ASSERT_EQ(errors.size(), 2u);
#else
  ASSERT_EQ(errors.size(), 1u);
#endif
  for (const auto& [name, text] : errors) EXPECT_EQ(text, FileCreateError(path).what()) << name;
  const std::vector<std::uint8_t> after = ReadWholeFile(path);
  EXPECT_EQ(std::string(after.begin(), after.end()), oldContent);
  EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"picture.bmp"});
}

}  // namespace
}  // namespace kmrn
