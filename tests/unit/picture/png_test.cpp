// The PNG writer and reader: pictures of every depth written and read back to the same pixels,
// files of every colour type, depth and interlacing read to what ImageMagick shows of them, and
// damaged or hostile files refused with the program's errors.

#include <gtest/gtest.h>

#include "test_support.h"

#include <libdeflate.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "picture/image_files.h"
#include "picture/png_format.h"

namespace kmrn {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;

const fs::path kFiles = fs::path(__FILE__).parent_path() / "png_files";

std::vector<std::uint8_t> ReadFile(const fs::path& path) { return ReadWholeFile(testing::Utf8(path)); }

// Every byte random, row padding included, and a full random palette for the palette depths.
Dib Sample(int width, int height, unsigned bitCount, std::uint32_t seed) {
  Dib dib = MakeDib(width, height, bitCount);
  std::uint32_t state = seed;
  auto next = [&state] {
    state = state * 1103515245 + 12345;
    return static_cast<std::uint8_t>(state >> 16);
  };
  for (std::uint8_t& byte : dib.bits) byte = next();
  if (bitCount <= 8) {
    dib.palette.resize(std::size_t{1} << bitCount);
    for (Rgbq& colour : dib.palette) colour = {next(), next(), next(), next()};
  }
  return dib;
}

// The pixels of two 24-bit pictures, row padding left out.
::testing::AssertionResult SamePixels(const Dib& a, const Dib& b) {
  if (a.bitCount != 24 || b.bitCount != 24 || a.width != b.width || a.height != b.height) {
    return ::testing::AssertionFailure() << "different pictures";
  }
  for (std::int32_t y = 0; y < a.height; ++y) {
    if (!std::equal(a.RowFromTop(y), a.RowFromTop(y) + 3 * a.width, b.RowFromTop(y))) {
      return ::testing::AssertionFailure() << "row " << y << " differs";
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(PngRoundTrip, EveryDepthAndSizeGivesBackThePixels) {
  struct Size {
    int width, height;
  };
  for (unsigned bitCount : {1u, 4u, 8u, 16u, 24u, 32u}) {
    for (Size size : {Size{1, 1}, Size{3, 2}, Size{13, 7}, Size{33, 5}, Size{2, 17}}) {
      SCOPED_TRACE(std::to_string(bitCount) + " bits, " + std::to_string(size.width) + "x" +
                   std::to_string(size.height));
      const Dib dib = Sample(size.width, size.height, bitCount, bitCount * 1000 + size.width);
      const std::vector<std::uint8_t> file = EncodePng(dib);
      // A palette picture stays one at its depth; every other becomes 8-bit RGB.
      ASSERT_GT(file.size(), 26u);
      EXPECT_EQ(file[24], bitCount <= 8 ? bitCount : 8);
      EXPECT_EQ(file[25], bitCount <= 8 ? png::Palette : png::Rgb);
      const Dib back = DecodePng(file);
      EXPECT_EQ(back.bitCount, 24);
      EXPECT_EQ(back.width, size.width);
      EXPECT_EQ(back.height, size.height);
      EXPECT_TRUE(SamePixels(back, ToBgr24(dib)));
    }
  }
}

TEST(PngRoundTrip, MasksShortPalettesEveryFilterAndLevelKeepThePixels) {
  std::vector<Dib> pictures;
  Dib masked = Sample(21, 9, 32, 7);  // 10-10-10 bits
  masked.redMask = 0x3FF00000u;
  masked.greenMask = 0x000FFC00u;
  masked.blueMask = 0x000003FFu;
  pictures.push_back(masked);
  Dib rgb565 = Sample(11, 6, 16, 8);
  rgb565.redMask = 0xF800u;
  rgb565.greenMask = 0x07E0u;
  rgb565.blueMask = 0x001Fu;
  pictures.push_back(rgb565);
  Dib shortPalette = Sample(19, 4, 8, 9);  // indexes past the palette show black, as on screen
  shortPalette.palette.resize(10);
  pictures.push_back(shortPalette);
  Dib noPalette = Sample(5, 5, 4, 10);
  noPalette.palette.clear();
  pictures.push_back(noPalette);
  pictures.push_back(Sample(40, 12, 24, 11));
  pictures.push_back(Sample(9, 8, 1, 12));

  using png::FilterStrategy;
  for (const Dib& dib : pictures) {
    SCOPED_TRACE(std::to_string(dib.bitCount) + " bits");
    const Dib expected = ToBgr24(dib);
    EXPECT_TRUE(SamePixels(DecodePng(EncodePng(dib)), expected));
    for (FilterStrategy filter : {FilterStrategy::None, FilterStrategy::Sub, FilterStrategy::Up,
                                  FilterStrategy::Average, FilterStrategy::Paeth, FilterStrategy::Adaptive}) {
      for (int level : {-5, 0, 1, 12, 99}) {  // out of range levels are clamped
        SCOPED_TRACE("filter " + std::to_string(static_cast<int>(filter)) + ", level " + std::to_string(level));
        EXPECT_TRUE(SamePixels(DecodePng(png::EncodePngWith(dib, {filter, level})), expected));
      }
    }
  }
}

TEST(PngWriter, InconsistentPicturesAreRefusedAndSavePngWritesTheEncodedFile) {
  const std::string invalid = InvalidBitmapError().what();
  Dib shortRows = Sample(10, 10, 24, 1);
  shortRows.bits.resize(shortRows.bits.size() - 1);
  EXPECT_EQ(ErrorOf([&] { EncodePng(shortRows); }), invalid);
  EXPECT_EQ(ErrorOf([] { EncodePng(Dib{}); }), invalid);

  const fs::path folder = fs::temp_directory_path() / ("kamerin-png-" + std::to_string(std::rand()));
  fs::create_directories(folder);
  const Dib dib = Sample(30, 20, 32, 2);
  const std::string path = testing::Utf8(folder / "shot.PNG");
  SavePng(dib, path);
  EXPECT_EQ(ReadWholeFile(path), EncodePng(dib));
  std::optional<Dib> loaded = LoadImageFile(path, false);
  ASSERT_TRUE(loaded.has_value());
  EXPECT_TRUE(SamePixels(*loaded, ToBgr24(dib)));
  fs::remove_all(folder);
}

// A binary PPM as ImageMagick writes it: "P6", width, height, 255, then red-green-blue rows.
struct Ppm {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};

Ppm ReadPpm(const fs::path& path) {
  std::vector<std::uint8_t> bytes = ReadFile(path);
  Ppm ppm;
  std::size_t pos = 2;
  auto number = [&] {
    while (pos < bytes.size() && (std::isspace(bytes[pos]) || bytes[pos] == '#')) {
      if (bytes[pos] == '#') {  // a comment, to the end of its line
        while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
      } else {
        ++pos;
      }
    }
    int value = 0;
    while (pos < bytes.size() && std::isdigit(bytes[pos])) value = value * 10 + (bytes[pos++] - '0');
    return value;
  };
  ppm.width = number();
  ppm.height = number();
  if (number() != 255 || bytes[0] != 'P' || bytes[1] != '6') return {};
  ppm.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos + 1), bytes.end());
  return ppm;
}

TEST(PngReader, EveryColourTypeDepthAndInterlacingReadsAsImageMagickShowsIt) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(kFiles / "good")) {
    if (entry.path().extension() != ".png") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const Ppm expected = ReadPpm(fs::path(entry.path()).replace_extension(".ppm"));
    const Dib dib = DecodePng(ReadFile(entry.path()));
    ASSERT_EQ(dib.bitCount, 24);
    ASSERT_EQ(dib.width, expected.width);
    ASSERT_EQ(dib.height, expected.height);
    ASSERT_EQ(expected.rgb.size(), static_cast<std::size_t>(3 * dib.width * dib.height));
    int worst = 0;
    for (int y = 0; y < dib.height; ++y) {
      const std::uint8_t* row = dib.RowFromTop(y);
      for (int x = 0; x < dib.width; ++x) {
        for (int c = 0; c < 3; ++c) {
          // 16-bit samples and alpha may round either way: one step is allowed.
          int difference = std::abs(row[3 * x + 2 - c] - expected.rgb[3 * (y * dib.width + x) + c]);
          worst = std::max(worst, difference);
        }
      }
    }
    EXPECT_LE(worst, 1);
    ++files;
  }
  EXPECT_GE(files, 40) << "files missing from " << kFiles.string();
}

// A zlib stream of the given number of zero bytes in about an eighth of a bit each: a literal, then
// matches of 258 bytes one back (fixed Huffman codes: 8 bits for the length, 5 for the distance).
std::vector<std::uint8_t> ZerosStream(std::uint64_t bytes) {
  std::vector<std::uint8_t> out = {0x78, 0x01};
  std::uint64_t bits = 0;
  int count = 0;
  auto put = [&](std::uint32_t value, int n) {  // LSB first
    bits |= static_cast<std::uint64_t>(value) << count;
    count += n;
    while (count >= 8) {
      out.push_back(static_cast<std::uint8_t>(bits));
      bits >>= 8;
      count -= 8;
    }
  };
  auto code = [&](std::uint32_t value, int n) {  // Huffman codes go most significant bit first
    std::uint32_t reversed = 0;
    for (int i = 0; i < n; ++i) reversed |= ((value >> i) & 1) << (n - 1 - i);
    put(reversed, n);
  };
  put(1, 1);      // the last block
  put(1, 2);      // fixed codes
  code(0x30, 8);  // literal 0
  for (std::uint64_t done = 1; done + 258 <= bytes; done += 258) {
    code(0xC5, 8);  // length 258
    code(0, 5);     // distance 1
  }
  code(0, 7);  // end of block
  put(0, 7);
  out.insert(out.end(), {0, 0, 0, 0});  // the checksum, never reached
  return out;
}

std::vector<std::uint8_t> Chunk(const char (&type)[5], const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out(8 + data.size() + 4);
  png::WriteU32(out.data(), static_cast<std::uint32_t>(data.size()));
  png::WriteU32(out.data() + 4, png::ChunkType(type));
  std::copy(data.begin(), data.end(), out.begin() + 8);
  png::WriteU32(out.data() + 8 + data.size(), libdeflate_crc32(0, out.data() + 4, data.size() + 4));
  return out;
}

TEST(PngReader, DamagedAndHostileFilesAreRefused) {
  const std::string pngError = PngError().what();
  const std::string tooLarge = "画像が大きすぎます";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(kFiles / "bad")) {
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    const std::string error = ErrorOf([&] { DecodePng(ReadFile(entry.path())); });
    if (name.rfind("too_large_", 0) == 0) {
      EXPECT_EQ(error.rfind(tooLarge, 0), 0u) << error;
    } else {
      EXPECT_EQ(error, pngError);
    }
    ++files;
  }
  EXPECT_GE(files, 25) << "files missing from " << kFiles.string();

  // 1000 x 1000 gray pixels, and a stream of 13 MB that would inflate to 2 GB: refused once the
  // picture's million bytes are full, with nothing more taken.
  std::vector<std::uint8_t> bomb(png::Signature, png::Signature + 8);
  for (const auto& chunk : {Chunk("IHDR", {0, 0, 0x03, 0xE8, 0, 0, 0x03, 0xE8, 8, 0, 0, 0, 0}),
                            Chunk("IDAT", ZerosStream(std::uint64_t{2} << 30)), Chunk("IEND", {})}) {
    bomb.insert(bomb.end(), chunk.begin(), chunk.end());
  }
  EXPECT_EQ(ErrorOf([&] { DecodePng(bomb); }), pngError);

  // Every cut of a good file, interlaced and with a palette and transparency, is refused.
  for (const char* name : {"type3_depth4_trns.png", "type6_depth16_interlaced.png"}) {
    const std::vector<std::uint8_t> file = ReadFile(kFiles / "good" / name);
    for (std::size_t size = 0; size < file.size(); ++size) {
      ASSERT_EQ(ErrorOf([&] { DecodePng(std::span(file.data(), size)); }), pngError) << name << " cut at " << size;
    }
  }
}

}  // namespace
}  // namespace kmrn
