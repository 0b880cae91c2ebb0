#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "picture/image_files.h"
#include "test_data.h"
#include "test_support.h"

namespace kmrn {
namespace {

using testing::PathOf;
using testing::Utf8;

namespace fs = std::filesystem;

// Paths reach the program as UTF-8, whatever the platform's own path encoding.

std::vector<fs::path> FilesIn(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == extension) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string ErrorOf(std::span<const std::uint8_t> file) {
  try {
    DecodeBmp(file);
  } catch (const AppError& e) {
    return e.what();
  }
  return "";
}

const std::string kInvalid = InvalidBitmapError().what();

// Checks what any decoded picture must be: 8 bits with a full palette, 24 bits, or 32 bits in the
// standard layout with the unused byte of every pixel zero; rows the right size.
void ExpectWellFormed(const Dib& dib) {
  EXPECT_TRUE(dib.bitCount == 8 || dib.bitCount == 24 || dib.bitCount == 32) << dib.bitCount;
  EXPECT_FALSE(dib.HasMasks());
  if (dib.bitCount == 8) {
    EXPECT_EQ(dib.palette.size(), 256u);
  }
  ASSERT_GT(dib.width, 0);
  ASSERT_GT(dib.height, 0);
  ASSERT_EQ(dib.bits.size(), dib.Stride() * static_cast<std::size_t>(dib.height));
  if (dib.bitCount != 32) return;
  std::size_t nonZeroReserved = 0;
  for (std::size_t i = 3; i < dib.bits.size(); i += 4) nonZeroReserved += dib.bits[i] != 0;
  EXPECT_EQ(nonZeroReserved, 0u);
}

// ---- The sample files ----

struct Ppm {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // top row first
};

// Binary PPM with 8-bit channels, the form of the reference pictures.
std::optional<Ppm> ParsePpm(const std::vector<std::uint8_t>& data) {
  std::size_t i = 2;
  auto number = [&]() -> long {
    while (i < data.size() && (std::isspace(data[i]) || data[i] == '#')) {
      if (data[i] == '#') {
        while (i < data.size() && data[i] != '\n') ++i;
      } else {
        ++i;
      }
    }
    long value = -1;
    for (; i < data.size() && std::isdigit(data[i]) && value < 1000000; ++i)
      value = std::max(value, 0L) * 10 + (data[i] - '0');
    return value;
  };
  if (data.size() < 2 || data[0] != 'P' || data[1] != '6') return std::nullopt;
  const long width = number(), height = number(), maxValue = number();
  if (width <= 0 || height <= 0 || maxValue != 255 || i >= data.size() || !std::isspace(data[i])) return std::nullopt;
  ++i;
  if (data.size() - i != static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3)
    return std::nullopt;
  return Ppm{static_cast<int>(width), static_cast<int>(height), {data.begin() + static_cast<long>(i), data.end()}};
}

// Compares a decoded picture with its reference; returns a description of the first difference.
std::string Difference(const Dib& decoded, const Ppm& ppm, int tolerance) {
  const Dib dib = ToBgr24(decoded);
  if (dib.width != ppm.width || dib.height != ppm.height) {
    return "size " + std::to_string(dib.width) + "x" + std::to_string(dib.height) + ", expected " +
           std::to_string(ppm.width) + "x" + std::to_string(ppm.height);
  }
  for (int y = 0; y < dib.height; ++y) {
    const std::uint8_t* row = dib.RowFromTop(y);
    for (int x = 0; x < dib.width; ++x) {
      const std::uint8_t* want = &ppm.rgb[(static_cast<std::size_t>(y) * ppm.width + x) * 3];
      const int got[3] = {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
      for (int c = 0; c < 3; ++c) {
        if (std::abs(got[c] - want[c]) > tolerance) {
          return "pixel (" + std::to_string(x) + "," + std::to_string(y) + ") channel " + std::to_string(c) + " is " +
                 std::to_string(got[c]) + ", expected " + std::to_string(want[c]);
        }
      }
    }
  }
  return "";
}

TEST(BmpSuite, EveryGoodFileDecodesToItsReference) {
  const auto files = FilesIn(PathOf(TestDataPath("bmpsuite/good")), ".bmp");
  ASSERT_GE(files.size(), 27u);
  for (const fs::path& file : files) {
    SCOPED_TRACE(Utf8(file.filename()));
    fs::path reference = file;
    reference.replace_extension(".ppm");
    const std::optional<Ppm> ppm = ParsePpm(ReadWholeFile(Utf8(reference)));
    ASSERT_TRUE(ppm.has_value());
    Dib dib;
    ASSERT_NO_THROW(dib = DecodeBmp(ReadWholeFile(Utf8(file))));
    ExpectWellFormed(dib);
    // Spreading 5 or 6 bits over 8 is done in more than one accepted way.
    const int tolerance = Utf8(file.filename()).starts_with("rgb16") ? 8 : 0;
    EXPECT_EQ(Difference(dib, *ppm, tolerance), "");
  }
}

TEST(BmpSuite, BadFilesAreRefusedOrReadSafely) {
  auto listed = [](const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  const std::vector<std::string> kRefused = {"badbitcount.bmp", "badheadersize.bmp", "badpalettesize.bmp",
                                             "badplanes.bmp",   "badwidth.bmp",      "reallybig.bmp",
                                             "rletopdown.bmp",  "shortfile.bmp"};
  // Damaged only in fields that nothing needs (image size, file size, density): pal1's rows and
  // palette, so they must show pal1.
  const std::vector<std::string> kShowPal1 = {"badbitssize.bmp", "baddens1.bmp", "baddens2.bmp", "badfilesize.bmp"};
  const std::vector<std::string> kRead = {"pal8badindex.bmp"};  // indexes beyond the palette show black

  const auto files = FilesIn(PathOf(TestDataPath("bmpsuite/bad")), ".bmp");
  ASSERT_GE(files.size(), 20u);
  for (const fs::path& file : files) {
    const std::string name = Utf8(file.filename());
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> data = ReadWholeFile(Utf8(file));
    try {
      const Dib dib = DecodeBmp(data);
      EXPECT_FALSE(listed(kRefused, name));
      ExpectWellFormed(dib);
      if (listed(kShowPal1, name)) {
        const std::optional<Ppm> pal1 = ParsePpm(ReadWholeFile(TestDataPath("bmpsuite/good/pal1.ppm")));
        ASSERT_TRUE(pal1.has_value());
        EXPECT_EQ(Difference(dib, *pal1, 0), "");
      }
    } catch (const AppError& e) {
      EXPECT_TRUE(!listed(kShowPal1, name) && !listed(kRead, name));
      EXPECT_EQ(e.what(), kInvalid);
    }
  }
}

// ---- Made-up files, each showing one feature or one kind of damage ----

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A BMP file put together field by field, so that each case states only what differs from a
// valid 2 x 2 picture at 8 bits with a 3-colour palette.
struct BmpFile {
  std::uint32_t headerSize = 40;
  std::int32_t width = 2, height = 2;
  std::uint16_t planes = 1, bitCount = 8;
  std::uint32_t compression = 0;
  std::optional<std::uint32_t> colorsUsed = std::nullopt;  // default: the palette's length
  std::vector<std::uint32_t> masks = {};                   // after a 40-byte header, inside the longer ones
  std::vector<Rgbq> palette = {{0, 0, 0xFF, 0}, {0, 0xFF, 0, 0}, {0xFF, 0, 0, 0}};
  std::vector<std::uint8_t> pixels = {0, 1, 0, 0, 2, 1, 0, 0};
  std::optional<std::uint32_t> offBits = std::nullopt;  // default: straight after the palette

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> info;
    Put32(info, headerSize);
    if (headerSize == 12) {
      Put16(info, static_cast<std::uint32_t>(width));
      Put16(info, static_cast<std::uint32_t>(height));
      Put16(info, planes);
      Put16(info, bitCount);
    } else {
      Put32(info, static_cast<std::uint32_t>(width));
      Put32(info, static_cast<std::uint32_t>(height));
      Put16(info, planes);
      Put16(info, bitCount);
      Put32(info, compression);
      Put32(info, static_cast<std::uint32_t>(pixels.size()));
      Put32(info, 2835);
      Put32(info, 2835);
      Put32(info, colorsUsed.value_or(static_cast<std::uint32_t>(palette.size())));
      Put32(info, 0);
      for (std::uint32_t mask : masks) Put32(info, mask);
      if (info.size() < headerSize) info.resize(headerSize, 0);
      if (headerSize > 40 && info.size() > headerSize) info.resize(headerSize);
    }
    for (const Rgbq& c : palette) {
      info.insert(info.end(), {c.blue, c.green, c.red});
      if (headerSize != 12) info.push_back(0);
    }
    std::vector<std::uint8_t> out = {'B', 'M'};
    Put32(out, static_cast<std::uint32_t>(14 + info.size() + pixels.size()));
    Put32(out, 0);
    Put32(out, offBits.value_or(14 + static_cast<std::uint32_t>(info.size())));
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
  }
};

TEST(BmpReader, RefusesDamagedFiles) {
  const std::vector<std::uint8_t> valid = BmpFile{}.Bytes();
  ASSERT_EQ(ErrorOf(valid), "");
  std::vector<std::uint8_t> wrongSignature = valid;
  wrongSignature[1] = 'A';
  const struct {
    const char* name;
    std::vector<std::uint8_t> file;
  } kCutFiles[] = {
      {"empty", {}},
      {"only a file header", {valid.begin(), valid.begin() + 14}},
      {"header cut short", {valid.begin(), valid.begin() + 40}},
      {"palette cut short", {valid.begin(), valid.begin() + 60}},
      {"last row cut short", {valid.begin(), valid.end() - 3}},
      {"wrong signature", wrongSignature},
  };
  for (const auto& c : kCutFiles) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorOf(c.file), kInvalid);
  }

  const std::vector<Rgbq> kNoPalette;
  const struct {
    const char* name;
    BmpFile file;
  } kBadFields[] = {
      {"header size 41", {.headerSize = 41}},
      {"header size 16", {.headerSize = 16}},
      {"two planes", {.planes = 2}},
      {"2 bits", {.bitCount = 2}},
      {"0 bits", {.bitCount = 0}},
      {"RLE8 at 4 bits", {.bitCount = 4, .compression = 1}},
      {"RLE4 at 8 bits", {.compression = 2}},
      {"bit fields at 8 bits", {.compression = 3, .masks = {0xE0, 0x1C, 3}}},
      {"bit fields at 24 bits", {.bitCount = 24, .compression = 3, .masks = {1, 2, 4}, .palette = kNoPalette}},
      {"bit fields without masks", {.bitCount = 16, .compression = 3, .palette = kNoPalette}},
      {"JPEG inside", {.bitCount = 0, .compression = 4}},
      {"PNG inside", {.bitCount = 24, .compression = 5, .palette = kNoPalette}},
      {"top-down RLE", {.height = -2, .compression = 1, .pixels = {0, 1}}},
      {"OS/2 1.x at 16 bits", {.headerSize = 12, .bitCount = 16, .palette = kNoPalette}},
      {"compression 3 (Huffman) in an OS/2 2.x header",
       {.headerSize = 64, .bitCount = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x1F}, .palette = kNoPalette}},
      {"zero width", {.width = 0}},
      {"negative width", {.width = -2}},
      {"zero height", {.height = 0}},
      {"wider than 65535", {.width = 65536, .height = 1}},
      {"taller than 65535", {.width = 1, .height = -65536}},
      {"most negative height", {.height = INT32_MIN}},
      // Needs 1 GB in memory at 32 bits: refused as damaged, before anything is allocated.
      {"too big to hold",
       {.width = 16384, .height = 16384, .bitCount = 1, .palette = std::vector<Rgbq>(2), .pixels = {0, 0, 0, 0}}},
      {"more colours than 8 bits index", {.palette = std::vector<Rgbq>(257)}},
      {"rows start beyond the end", {.offBits = 1000}},
      {"rows start too late to fit", {.offBits = 14 + 40 + 12 + 3}},
  };
  for (const auto& c : kBadFields) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorOf(c.file.Bytes()), kInvalid);
  }
}

// Pixels written as 0xRRGGBB, top row first.
std::vector<std::uint32_t> PixelsOf(const Dib& decoded) {
  const Dib dib = ToBgr24(decoded);
  std::vector<std::uint32_t> out;
  for (int y = 0; y < dib.height; ++y) {
    const std::uint8_t* row = dib.RowFromTop(y);
    for (int x = 0; x < dib.width; ++x) out.push_back(row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x]);
  }
  return out;
}

TEST(BmpReader, DecodesEveryLayout) {
  constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0;
  const std::vector<Rgbq> kNoPalette, kRedGreen = {{0, 0, 0xFF, 0}, {0, 0xFF, 0, 0}};
  const struct {
    const char* name;
    BmpFile file;
    std::vector<std::uint32_t> pixels;  // top row first
  } kCases[] = {
      {"8 bits", {}, {B, G, R, G}},
      {"8 bits top-down", {.height = -2}, {R, G, B, G}},
      {"index beyond the palette is black", {.pixels = {3, 255, 0, 0, 2, 1, 0, 0}}, {B, G, K, K}},
      {"1 bit, leftmost pixel in the high bit",
       {.width = 9, .height = 1, .bitCount = 1, .palette = kRedGreen, .pixels = {0x81, 0x80, 0, 0}},
       {G, R, R, R, R, R, R, G, G}},
      {"4 bits, leftmost pixel in the high nibble",
       {.width = 3, .height = 1, .bitCount = 4, .pixels = {0x12, 0x00, 0, 0}},
       {G, B, R}},
      {"colour count 0 means 2^bits",
       {.width = 2, .height = 1, .bitCount = 1, .colorsUsed = 0, .palette = kRedGreen, .pixels = {0x40, 0, 0, 0}},
       {R, G}},
      {"OS/2 1.x with 3-byte palette entries",
       {.headerSize = 12, .bitCount = 1, .palette = kRedGreen, .pixels = {0x40, 0, 0, 0, 0x80, 0, 0, 0}},
       {G, R, R, G}},
      {"OS/2 2.x header", {.headerSize = 64}, {B, G, R, G}},
      {"V4 header", {.headerSize = 108}, {B, G, R, G}},
      {"V5 header", {.headerSize = 124}, {B, G, R, G}},
      {"rows start where the file says",
       {.pixels = {9, 9, 0, 1, 0, 0, 2, 1, 0, 0}, .offBits = 14 + 40 + 12 + 2},
       {B, G, R, G}},
      {"no row offset: rows follow the palette", {.offBits = 0}, {B, G, R, G}},
      {"last row without its padding", {.pixels = {0, 1, 0, 0, 2, 1}}, {B, G, R, G}},
      {"24 bits",
       {.bitCount = 24, .palette = kNoPalette, .pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}},
       {0x090807, 0x0C0B0A, 0x030201, 0x060504}},
      {"32 bits, unused byte dropped",
       {.width = 1, .bitCount = 32, .palette = kNoPalette, .pixels = {1, 2, 3, 0xFF, 4, 5, 6, 0x80}},
       {0x060504, 0x030201}},
      {"16 bits 5-5-5",
       {.bitCount = 16, .palette = kNoPalette, .pixels = {0xFF, 0x7F, 0x1F, 0, 0x00, 0x7C, 0x10, 0x42}},
       {R, 0x848484, W, B}},
      {"16 bits 5-6-5",
       {.bitCount = 16,
        .compression = 3,
        .masks = {0xF800, 0x07E0, 0x001F},
        .palette = kNoPalette,
        .pixels = {0xE0, 0x07, 0x00, 0xF8, 0x20, 0x00, 0x1F, 0}},
       {0x000400, B, G, R}},
      {"16 bits 4-4-4 in a 52-byte header",
       {.headerSize = 52,
        .bitCount = 16,
        .compression = 3,
        .masks = {0x0F00, 0x00F0, 0x000F},
        .palette = kNoPalette,
        .pixels = {0x00, 0x0F, 0x80, 0x00, 0x0F, 0x00, 0x00, 0xF0}},
       {B, K, R, 0x008800}},
      {"all-zero masks mean the standard layout",
       {.bitCount = 16,
        .compression = 3,
        .masks = {0, 0, 0},
        .palette = kNoPalette,
        .pixels = {0x1F, 0, 0, 0, 0, 0x7C, 0, 0}},
       {R, K, B, K}},
      {"32 bits, 10-bit channels",
       {.width = 1,
        .bitCount = 32,
        .compression = 3,
        .masks = {0x3FF00000, 0x000FFC00, 0x000003FF},
        .palette = kNoPalette,
        .pixels = {0x00, 0x00, 0xF0, 0x3F, 0xFF, 0x03, 0xF8, 0x3F}},
       {0xFF80FF, 0xFF0000}},
      {"32 bits RGBA, alpha mask in a 56-byte header",
       {.headerSize = 56,
        .width = 1,
        .bitCount = 32,
        .compression = 3,
        .masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
        .palette = kNoPalette,
        .pixels = {1, 2, 3, 4, 5, 6, 7, 8}},
       {0x050607, 0x010203}},
      {"32 bits, masks in a V5 header, green across a byte boundary",
       {.headerSize = 124,
        .width = 1,
        .bitCount = 32,
        .compression = 3,
        .masks = {0xFF000000, 0x00000FF0, 0x00FF0000},
        .palette = kNoPalette,
        .pixels = {0xF0, 0x0F, 0x12, 0x34, 0, 0, 0, 0}},
       {K, 0x34FF12}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Dib dib;
    ASSERT_NO_THROW(dib = DecodeBmp(c.file.Bytes()));
    ExpectWellFormed(dib);
    EXPECT_EQ(PixelsOf(dib), c.pixels);
  }
}

TEST(BmpReader, DecodesRunLengthStreams) {
  // Every index has its own colour, index 0 included, so pixels the stream skips (black) show.
  auto colorOf = [](int index) { return Rgbq{static_cast<std::uint8_t>(16 * index + 1), 0x80, 0x40, 0}; };
  std::vector<Rgbq> palette;
  for (int i = 0; i < 16; ++i) palette.push_back(colorOf(i));
  const struct {
    const char* name;
    std::uint16_t bitCount;
    std::int32_t width, height;
    std::vector<std::uint8_t> stream;
    std::vector<std::string> rows;  // top row first: an index, or '.' for black
  } kCases[] = {
      {"runs, end of line, end of bitmap", 8, 3, 2, {3, 1, 0, 0, 2, 2, 0, 1}, {"22.", "111"}},
      {"absolute run padded to a word", 8, 4, 2, {0, 3, 5, 6, 7, 0, 1, 9, 0, 1}, {"....", "5679"}},
      {"delta moves right and up", 8, 3, 2, {1, 1, 0, 2, 1, 1, 1, 2, 0, 1}, {"..2", "1.."}},
      {"run beyond the right edge is cut", 8, 3, 2, {5, 3, 0, 1}, {"...", "333"}},
      {"no end of bitmap", 8, 3, 1, {2, 4}, {"44."}},
      {"stream cut inside a pair", 8, 3, 1, {2, 4, 0}, {"44."}},
      {"absolute run cut by the end", 8, 4, 1, {0, 5, 1, 2}, {"12.."}},
      {"delta cut by the end", 8, 2, 1, {1, 3, 0, 2, 1}, {"3."}},
      {"delta beyond the picture ends it", 8, 2, 2, {0, 2, 0, 9, 2, 5, 0, 1}, {"..", ".."}},
      {"data after the top row is ignored", 8, 2, 1, {1, 1, 0, 0, 2, 2, 0, 1}, {"1."}},
      {"index beyond the palette is black", 8, 2, 1, {1, 200, 1, 15}, {".f"}},
      {"RLE4 runs alternate two nibbles", 4, 5, 1, {5, 0x12, 0, 1}, {"12121"}},
      {"RLE4 absolute with odd count, padded", 4, 6, 1, {0, 5, 0x12, 0x34, 0x50, 0, 1, 0x77, 0, 1}, {"123457"}},
      {"RLE4 absolute run cut by the end", 4, 4, 1, {0, 4, 0xAB}, {"ab.."}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const BmpFile file{.width = c.width,
                       .height = c.height,
                       .bitCount = c.bitCount,
                       .compression = c.bitCount == 8 ? 1u : 2u,
                       .palette = palette,
                       .pixels = c.stream};
    Dib dib;
    ASSERT_NO_THROW(dib = DecodeBmp(file.Bytes()));
    ExpectWellFormed(dib);
    std::vector<std::uint32_t> want;
    for (const std::string& row : c.rows) {
      for (char ch : row) {
        const Rgbq color = ch == '.' ? Rgbq{} : colorOf(std::stoi(std::string(1, ch), nullptr, 16));
        want.push_back(color.red << 16 | color.green << 8 | color.blue);
      }
    }
    EXPECT_EQ(PixelsOf(dib), want);
  }
}

// A screenshot of three 4K screens side by side is the largest picture the program makes.
// What another program puts on the clipboard is a file without its first 14 bytes: the rows follow
// the masks and the colour table, which a deeper picture may carry too.
TEST(BmpReader, PackedDibsDecodeAsTheirFilesAndHostileOnesAreRefused) {
  auto packed = [](const std::vector<std::uint8_t>& file) {
    return std::vector<std::uint8_t>(file.begin() + 14, file.end());
  };
  auto packedError = [](std::span<const std::uint8_t> dib) -> std::string {
    try {
      DecodePackedDib(dib);
    } catch (const AppError& e) {
      return e.what();
    }
    return "";
  };
  int compared = 0;
  for (const fs::path& file : FilesIn(PathOf(TestDataPath("bmpsuite/good")), ".bmp")) {
    SCOPED_TRACE(Utf8(file.filename()));
    const std::vector<std::uint8_t> data = ReadWholeFile(Utf8(file));
    const Dib fromFile = DecodeBmp(data);
    Dib fromDib;
    ASSERT_NO_THROW(fromDib = DecodePackedDib(packed(data)));
    EXPECT_EQ(fromDib.bits, fromFile.bits);
    EXPECT_EQ(fromDib.bitCount, fromFile.bitCount);
    ++compared;
  }
  EXPECT_GE(compared, 27);

  // A 32-bit picture with a two-entry colour table before its rows: one red and one blue pixel.
  BmpFile deep{.bitCount = 32,
               .palette = {{1, 2, 3, 0}, {4, 5, 6, 0}},
               .pixels = {0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0}};
  const Dib two = DecodePackedDib(packed(deep.Bytes()));
  EXPECT_EQ(two.bits, DecodeBmp(deep.Bytes()).bits);
  EXPECT_EQ(two.RowFromTop(1)[2], 0xFF) << "the colour table is not taken for pixels";

  const std::vector<std::uint8_t> valid = packed(BmpFile{}.Bytes());
  // Every cut short of the last row (whose padding may be missing, as in files) is refused.
  for (std::size_t size = 0; size + 2 < valid.size(); ++size) {
    SCOPED_TRACE(size);
    EXPECT_EQ(packedError({valid.data(), size}), kInvalid);
  }
  std::vector<std::uint8_t> huge = packed(BmpFile{.width = 100000, .height = -100000}.Bytes());
  EXPECT_EQ(packedError(huge), kInvalid);
  std::vector<std::uint8_t> jpegInside = packed(BmpFile{.bitCount = 24, .compression = 4}.Bytes());
  EXPECT_EQ(packedError(jpegInside), kInvalid);
}

TEST(BmpReader, OpensThreeScreenScreenshot) {
  std::vector<std::uint8_t> file =
      BmpFile{.width = 3 * 3840, .height = 2160, .bitCount = 32, .palette = {}, .pixels = {}}.Bytes();
  file.resize(file.size() + std::size_t{11520} * 2160 * 4);  // the rows: kept out of BmpFile to save a copy
  // The file's last pixel is the top row's last, as the rows run bottom-up.
  std::copy_n("\x11\x22\x33\x44", 4, file.end() - 4);
  Dib dib;
  ASSERT_NO_THROW(dib = DecodeBmp(file));
  ASSERT_EQ(dib.width, 11520);
  ASSERT_EQ(dib.height, 2160);
  const std::uint8_t* topRight = dib.RowFromTop(0) + 4 * (dib.width - 1);
  EXPECT_EQ((std::vector<std::uint8_t>{topRight[0], topRight[1], topRight[2], topRight[3]}),
            (std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0}));
}

}  // namespace
}  // namespace kmrn
