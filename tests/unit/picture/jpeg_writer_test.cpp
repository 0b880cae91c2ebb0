// EncodeJpeg and SaveJpeg: the file says what was asked (markers, tables), the picture comes back
// close to its source at every depth, and a failed save leaves nothing behind.
// DecodeJpeg serves as the reader here; its own tests check it against libjpeg's RGB output.

#include <gtest/gtest.h>

#include "test_support.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

#include <jerror.h>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "picture/image_files.h"

namespace kmrn {
namespace {

using testing::ErrorOf;
using testing::IsFileErrorWithReason;
using testing::Utf8;

namespace fs = std::filesystem;

// --- Pictures -----------------------------------------------------------------------------------

using Rgb = std::array<int, 3>;

// A smooth colour field, the kind of content JPEG keeps well (no channel passes 255 on the
// pictures used here).
Rgb Smooth(int x, int y) { return {x * 2 + y, y + 40, x + y + 30}; }

// A little pseudo-random noise source so that every pixel of a picture differs from its neighbours.
std::uint32_t Hash(int x, int y) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  return h ^ (h >> 15);
}

void PutBgr(std::uint8_t* p, const Rgb& c) {
  p[0] = static_cast<std::uint8_t>(c[2]);
  p[1] = static_cast<std::uint8_t>(c[1]);
  p[2] = static_cast<std::uint8_t>(c[0]);
}

Dib Picture24(int width, int height, const std::function<Rgb(int, int)>& colour) {
  Dib dib = MakeDib(width, height, 24);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) PutBgr(dib.RowFromTop(y) + 3 * x, colour(x, y));
  }
  return dib;
}

Dib Picture32(int width, int height, const std::function<Rgb(int, int)>& colour) {
  Dib dib = MakeDib(width, height, 32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      PutBgr(dib.RowFromTop(y) + 4 * x, colour(x, y));
      dib.RowFromTop(y)[4 * x + 3] = 0xA5;  // the unused byte must not matter
    }
  }
  return dib;
}

Rgb RgbAt(const Dib& dib, int x, int y) {
  const std::uint8_t* p = dib.RowFromTop(y) + 3 * x;
  return {p[2], p[1], p[0]};
}

double MeanAbsoluteError(const Dib& decoded, const std::function<Rgb(int, int)>& want) {
  double sum = 0;
  for (int y = 0; y < decoded.height; ++y) {
    for (int x = 0; x < decoded.width; ++x) {
      Rgb got = RgbAt(decoded, x, y), expected = want(x, y);
      for (int c = 0; c < 3; ++c) sum += std::abs(got[c] - expected[c]);
    }
  }
  return sum / (3.0 * decoded.width * decoded.height);
}

// --- Reading the file's markers ---------------------------------------------------------------

struct Segment {
  std::uint8_t marker;
  std::vector<std::uint8_t> payload;
};

// The segments from SOI up to and including the first SOS.
std::vector<Segment> HeaderSegments(const std::vector<std::uint8_t>& file) {
  std::vector<Segment> segments;
  if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) {
    ADD_FAILURE() << "no SOI";
    return segments;
  }
  std::size_t at = 2;
  while (at + 4 <= file.size() && file[at] == 0xFF) {
    std::size_t length = file[at + 2] << 8 | file[at + 3];
    if (at + 2 + length > file.size()) break;
    segments.push_back({file[at + 1], {file.begin() + at + 4, file.begin() + at + 2 + length}});
    if (file[at + 1] == 0xDA) return segments;
    at += 2 + length;
  }
  ADD_FAILURE() << "header ends without SOS";
  return segments;
}

int Count(const std::vector<Segment>& segments, std::uint8_t marker) {
  int n = 0;
  for (const Segment& s : segments) n += s.marker == marker;
  return n;
}

const Segment* Find(const std::vector<Segment>& segments, std::uint8_t marker) {
  for (const Segment& s : segments) {
    if (s.marker == marker) return &s;
  }
  return nullptr;
}

struct QuantTable {
  int precision = -1;       // 0: 8-bit entries, 1: 16-bit
  std::vector<int> zigzag;  // as stored in the file
};

std::array<QuantTable, 4> QuantTablesOf(const std::vector<Segment>& segments) {
  std::array<QuantTable, 4> tables;
  for (const Segment& s : segments) {
    if (s.marker != 0xDB) continue;
    std::size_t at = 0;
    while (at < s.payload.size()) {
      int precision = s.payload[at] >> 4, id = s.payload[at] & 0x0F;
      ++at;
      QuantTable& table = tables.at(id);
      table.precision = precision;
      table.zigzag.clear();
      for (int i = 0; i < 64 && at < s.payload.size(); ++i) {
        table.zigzag.push_back(precision ? s.payload[at] << 8 | s.payload[at + 1] : s.payload[at]);
        at += precision ? 2 : 1;
      }
    }
  }
  return tables;
}

// The example tables of the JPEG standard (Annex K), in natural order.
constexpr int kLuminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                  24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
// Natural-order position of each zigzag entry.
constexpr int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
                             41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
                             30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The IJG quality scaling with entries limited to 8 bits, as a baseline file must have them.
std::vector<int> ExpectedZigzag(const int (&base)[64], int quality) {
  int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
  std::vector<int> table;
  for (int i = 0; i < 64; ++i) {
    int value = (base[kZigzag[i]] * scale + 50) / 100;
    table.push_back(std::clamp(value, 1, 255));
  }
  return table;
}

void ExpectTablesOfQuality(const std::vector<std::uint8_t>& file, int quality) {
  std::array<QuantTable, 4> tables = QuantTablesOf(HeaderSegments(file));
  EXPECT_EQ(tables[0].precision, 0);
  EXPECT_EQ(tables[1].precision, 0);
  EXPECT_EQ(tables[0].zigzag, ExpectedZigzag(kLuminance, quality)) << "luminance, quality " << quality;
  EXPECT_EQ(tables[1].zigzag, ExpectedZigzag(kChrominance, quality)) << "chrominance, quality " << quality;
  EXPECT_EQ(tables[2].precision, -1);
}

// The code-length counts of the standard's example Huffman tables, keyed by class and id.
std::vector<std::uint8_t> StandardHuffmanCounts(int key) {
  switch (key) {
    case 0x00: return {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
    case 0x01: return {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
    case 0x10: return {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d};
    case 0x11: return {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
  }
  return {};
}

std::vector<std::uint8_t> CaptureLikePicture32File(JpegParams params) {
  return EncodeJpeg(Picture32(80, 60, Smooth), params);
}

// --- The file says what was asked ---------------------------------------------------------------

TEST(JpegWriterFormat, CaptureFileIsPlainBaselineJfifAtQuality90) {
  std::vector<std::uint8_t> file = CaptureLikePicture32File(CaptureJpegParams);
  std::vector<Segment> header = HeaderSegments(file);
  ASSERT_FALSE(header.empty());
  EXPECT_EQ(header.front().marker, 0xE0);  // JFIF first
  EXPECT_EQ(std::string(header.front().payload.begin(), header.front().payload.begin() + 5), std::string("JFIF\0", 5));
  // Nothing but the frame, the tables and the scan: SOF0 (baseline), no Adobe marker, no comment,
  // no restart interval.
  std::vector<int> markers;
  for (const Segment& s : header) markers.push_back(s.marker);
  EXPECT_EQ(markers, (std::vector<int>{0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA}));
  const Segment* frame = Find(header, 0xC0);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->payload[0], 8);  // precision
  EXPECT_EQ(frame->payload[1] << 8 | frame->payload[2], 60);
  EXPECT_EQ(frame->payload[3] << 8 | frame->payload[4], 80);
  EXPECT_EQ(frame->payload[5], 3);  // Y, Cb, Cr
  ExpectTablesOfQuality(file, 90);

  // Default, not optimised, Huffman tables.
  int tables = 0;
  for (const Segment& s : header) {
    if (s.marker != 0xC4) continue;
    for (std::size_t at = 0; at + 17 <= s.payload.size();) {
      std::vector<std::uint8_t> counts(s.payload.begin() + at + 1, s.payload.begin() + at + 17);
      EXPECT_EQ(counts, StandardHuffmanCounts(s.payload[at])) << "table " << int(s.payload[at]);
      int symbols = 0;
      for (std::uint8_t c : counts) symbols += c;
      at += 17 + symbols;
      ++tables;
    }
  }
  EXPECT_EQ(tables, 4);
}

TEST(JpegWriterFormat, ProgressiveFileAtQuality30) {
  std::vector<std::uint8_t> file = CaptureLikePicture32File(ViewerJpegParams(30, true));
  std::vector<Segment> header = HeaderSegments(file);
  EXPECT_EQ(Count(header, 0xC2), 1);  // SOF2, progressive
  EXPECT_EQ(Count(header, 0xC0), 0);
  ExpectTablesOfQuality(file, 30);
  // The simple progression's first scan carries only DC coefficients.
  ASSERT_FALSE(header.empty());
  const std::vector<std::uint8_t>& scan = header.back().payload;
  int components = scan[0];
  EXPECT_EQ(scan[1 + 2 * components], 0);      // Ss
  EXPECT_EQ(scan[1 + 2 * components + 1], 0);  // Se
}

TEST(JpegWriterFormat, QualityIsClampedNeverWrapped) {
  // 300 wrapped to a byte would be 44; 356 would be 100 by accident, so 300 is the telling one.
  ExpectTablesOfQuality(CaptureLikePicture32File({300, false}), 100);
  ExpectTablesOfQuality(CaptureLikePicture32File({100, false}), 100);
  ExpectTablesOfQuality(CaptureLikePicture32File({1, false}), 1);
  ExpectTablesOfQuality(CaptureLikePicture32File({0, false}), 1);
  ExpectTablesOfQuality(CaptureLikePicture32File({-5, true}), 1);
  ExpectTablesOfQuality(CaptureLikePicture32File({50, false}), 50);
}

// The same pixels, packed as RGB and given to plain libjpeg with the settings the file must have:
// float DCT, quality with baseline tables, simple progression when asked, defaults otherwise.
std::vector<std::uint8_t> PlainLibjpegFile(const Dib& picture24, JpegParams params) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < picture24.height; ++y) {
    for (int x = 0; x < picture24.width; ++x) {
      Rgb c = RgbAt(picture24, x, y);
      rgb.insert(rgb.end(), {std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2])});
    }
  }
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture24.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture24.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  cinfo.dct_method = JDCT_FLOAT;
  jpeg_set_quality(&cinfo, params.quality, TRUE);
  if (params.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = rgb.data() + static_cast<std::size_t>(cinfo.next_scanline) * 3 * picture24.width;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> file(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return file;
}

TEST(JpegWriterFormat, SameFileAsPlainLibjpegWithTheStatedSettings) {
  Dib picture = Picture24(83, 47, [](int x, int y) {
    std::uint32_t h = Hash(x / 3, y / 3);
    return Rgb{static_cast<int>(h & 0xFF), x * 3, static_cast<int>(h >> 8 & 0x3F) + y};
  });
  for (JpegParams params : {CaptureJpegParams, JpegParams{30, true}, JpegParams{75, false}}) {
    SCOPED_TRACE(std::to_string(params.quality) + (params.progressive ? " progressive" : ""));
    EXPECT_EQ(EncodeJpeg(picture, params), PlainLibjpegFile(picture, params));
  }
}

// --- The picture comes back ------------------------------------------------------------------

TEST(JpegWriterRoundTrip, TrueColourPicturesComeBackClose) {
  for (bool progressive : {false, true}) {
    for (auto [width, height] : {std::pair{80, 60}, std::pair{37, 23}, std::pair{1, 1}, std::pair{3, 200}}) {
      SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + (progressive ? " progressive" : ""));
      for (const Dib& source : {Picture24(width, height, Smooth), Picture32(width, height, Smooth)}) {
        Dib back = DecodeJpeg(EncodeJpeg(source, {90, progressive}), false);
        ASSERT_EQ(back.bitCount, 24);
        ASSERT_EQ(back.width, width);
        ASSERT_EQ(back.height, height);
        EXPECT_LT(MeanAbsoluteError(back, Smooth), 3.0) << source.bitCount << " bits";
      }
    }
  }
}

TEST(JpegWriterRoundTrip, TwentyFourAndThirtyTwoBitPicturesGiveTheSameFile) {
  auto noisy = [](int x, int y) {
    std::uint32_t h = Hash(x, y);
    return Rgb{static_cast<int>(h & 0xFF), static_cast<int>(h >> 8 & 0xFF), static_cast<int>(h >> 16 & 0xFF)};
  };
  EXPECT_EQ(EncodeJpeg(Picture24(45, 31, noisy), CaptureJpegParams),
            EncodeJpeg(Picture32(45, 31, noisy), CaptureJpegParams));
}

// The depths libjpeg cannot read directly go through a 24-bit copy; each must make exactly the
// file that the equivalent 24-bit picture makes. The content changes from pixel to pixel, so a
// wrong bit order, a swapped mask or an off-by-one row shows.
struct OtherDepthCase {
  const char* name;
  std::function<Dib(int, int)> make;  // width, height
  std::function<Rgb(int, int)> colour;
};

std::vector<Rgbq> TestPalette(int entries) {
  std::vector<Rgbq> palette;
  for (int i = 0; i < entries; ++i) {
    palette.push_back(Rgbq{static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i * 11),
                           static_cast<std::uint8_t>(i * 97 + 13), 0});
  }
  return palette;
}

Rgb FromPalette(const std::vector<Rgbq>& palette, std::size_t index) {
  if (index >= palette.size()) return {0, 0, 0};
  return {palette[index].red, palette[index].green, palette[index].blue};
}

std::vector<OtherDepthCase> OtherDepthCases() {
  static const std::vector<Rgbq> p256 = TestPalette(256), p16 = TestPalette(16), p2 = TestPalette(2),
                                 p5 = TestPalette(5);
  std::vector<OtherDepthCase> cases;
  auto indexed = [](int bits, const std::vector<Rgbq>& palette, int indexRange) {
    return [=](int width, int height) {
      Dib dib = MakeDib(width, height, bits);
      dib.palette = palette;
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          unsigned index = Hash(x, y) % indexRange;
          std::uint8_t* row = dib.RowFromTop(y);
          int perByte = 8 / bits, shift = 8 - bits * (x % perByte + 1);
          row[x / perByte] = static_cast<std::uint8_t>(row[x / perByte] | index << shift);
        }
      }
      return dib;
    };
  };
  auto indexedColour = [](const std::vector<Rgbq>& palette, int indexRange) {
    return [&palette, indexRange](int x, int y) { return FromPalette(palette, Hash(x, y) % indexRange); };
  };
  cases.push_back({"8-bit palette", indexed(8, p256, 256), indexedColour(p256, 256)});
  cases.push_back({"4-bit palette", indexed(4, p16, 16), indexedColour(p16, 16)});
  cases.push_back({"1-bit palette", indexed(1, p2, 2), indexedColour(p2, 2)});
  // Indexes past a short palette come out black rather than reading past it.
  cases.push_back({"8-bit short palette", indexed(8, p5, 8), indexedColour(p5, 8)});

  // 16 and 32 bits with masks: channels at their extremes, which every expansion to 8 bits maps
  // to 0 and 255.
  auto extremes = [](int x, int y) {
    std::uint32_t h = Hash(x, y);
    return Rgb{h & 1 ? 255 : 0, h & 2 ? 255 : 0, h & 4 ? 255 : 0};
  };
  auto masked = [extremes](int bits, std::uint32_t r, std::uint32_t g, std::uint32_t b, bool storeMasks) {
    return [=](int width, int height) {
      Dib dib = MakeDib(width, height, bits);
      if (storeMasks) {
        dib.redMask = r;
        dib.greenMask = g;
        dib.blueMask = b;
      }
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          Rgb c = extremes(x, y);
          std::uint32_t pixel = (c[0] ? r : 0) | (c[1] ? g : 0) | (c[2] ? b : 0);
          std::uint8_t* p = dib.RowFromTop(y) + x * bits / 8;
          for (int i = 0; i < bits / 8; ++i) p[i] = static_cast<std::uint8_t>(pixel >> 8 * i);
        }
      }
      return dib;
    };
  };
  cases.push_back({"16-bit 5-5-5", masked(16, 0x7C00, 0x03E0, 0x001F, false), extremes});
  cases.push_back({"16-bit 5-6-5", masked(16, 0xF800, 0x07E0, 0x001F, true), extremes});
  cases.push_back({"32-bit red low", masked(32, 0x000000FF, 0x0000FF00, 0x00FF0000, true), extremes});
  cases.push_back({"32-bit 10-10-10", masked(32, 0x3FF00000, 0x000FFC00, 0x000003FF, true), extremes});
  return cases;
}

TEST(JpegWriterRoundTrip, OtherDepthsMakeTheFileOfTheirTwentyFourBitTwin) {
  for (const OtherDepthCase& c : OtherDepthCases()) {
    for (auto [width, height] : {std::pair{29, 17}, std::pair{64, 8}}) {
      SCOPED_TRACE(std::string(c.name) + " " + std::to_string(width) + "x" + std::to_string(height));
      Dib source = c.make(width, height);
      std::vector<std::uint8_t> file = EncodeJpeg(source, CaptureJpegParams);
      EXPECT_EQ(file, EncodeJpeg(Picture24(width, height, c.colour), CaptureJpegParams));
    }
  }
}

TEST(JpegWriterRoundTrip, PaletteAndSixteenBitPicturesComeBackClose) {
  // Smooth content this time, so that the decoded picture can be compared with the source.
  Dib indexed8 = MakeDib(48, 40, 8);
  for (int i = 0; i < 256; ++i) {
    indexed8.palette.push_back(
        Rgbq{static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i / 2), static_cast<std::uint8_t>(i), 0});
  }
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 48; ++x) indexed8.RowFromTop(y)[x] = static_cast<std::uint8_t>(x * 3 + y);
  }
  Dib back = DecodeJpeg(EncodeJpeg(indexed8, CaptureJpegParams), false);
  EXPECT_LT(MeanAbsoluteError(back,
                              [](int x, int y) {
                                int i = (x * 3 + y) & 0xFF;
                                return Rgb{i, i / 2, 255 - i};
                              }),
            3.0);

  Dib sixteen = MakeDib(48, 40, 16);  // 5-5-5
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 48; ++x) {
      std::uint16_t pixel = static_cast<std::uint16_t>((x / 2) << 10 | (y * 31 / 39) << 5 | 31);
      sixteen.RowFromTop(y)[2 * x] = static_cast<std::uint8_t>(pixel);
      sixteen.RowFromTop(y)[2 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
    }
  }
  back = DecodeJpeg(EncodeJpeg(sixteen, CaptureJpegParams), false);
  EXPECT_LT(MeanAbsoluteError(back,
                              [](int x, int y) {
                                return Rgb{(x / 2) * 255 / 31, (y * 31 / 39) * 255 / 31, 255};
                              }),
            4.0);
}

TEST(JpegWriterColours, RedStaysRedAndBlueStaysBlueTopToBottom) {
  auto redOverBlue = [](int, int y) { return y < 16 ? Rgb{255, 0, 0} : Rgb{0, 0, 255}; };
  Dib palette = MakeDib(32, 32, 8);
  palette.palette = {Rgbq{0, 0, 255, 0}, Rgbq{255, 0, 0, 0}};  // red, blue
  for (int y = 16; y < 32; ++y) std::fill_n(palette.RowFromTop(y), 32, 1);

  for (const Dib& source : {Picture24(32, 32, redOverBlue), Picture32(32, 32, redOverBlue), palette}) {
    SCOPED_TRACE(std::to_string(source.bitCount) + " bits");
    Dib back = DecodeJpeg(EncodeJpeg(source, CaptureJpegParams), false);
    Rgb top = RgbAt(back, 16, 4), bottom = RgbAt(back, 16, 27);
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(top[c], c == 0 ? 255 : 0, 8) << "top, channel " << c;
      EXPECT_NEAR(bottom[c], c == 2 ? 255 : 0, 8) << "bottom, channel " << c;
    }
  }
}

// --- Errors -------------------------------------------------------------------------------------

TEST(JpegWriterErrors, PicturesTheLibraryRefusesGiveItsError) {
  Dib empty;
  EXPECT_EQ(ErrorOf([&] { EncodeJpeg(empty, CaptureJpegParams); }), JpegError(JERR_EMPTY_IMAGE).what());
  empty.bitCount = 8;  // would need a conversion first
  EXPECT_EQ(ErrorOf([&] { EncodeJpeg(empty, CaptureJpegParams); }), JpegError(JERR_EMPTY_IMAGE).what());
  // Wider than a JPEG file can be, refused by the library when it starts.
  EXPECT_EQ(ErrorOf([] { EncodeJpeg(MakeDib(65535, 1, 32), CaptureJpegParams); }),
            JpegError(JERR_IMAGE_TOO_BIG).what());
}

TEST(JpegWriterErrors, PictureWithTooFewBytesIsRefusedNotRead) {
  Dib dib = MakeDib(16, 16, 24);
  dib.bits.resize(dib.bits.size() - 1);
  EXPECT_EQ(ErrorOf([&] { EncodeJpeg(dib, CaptureJpegParams); }), InvalidBitmapError().what());
}

class JpegSaveTest : public testing::TempFolderTest {
 protected:
  std::vector<std::string> Names() const { return FilesInFolder(); }
  static std::vector<std::uint8_t> Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

TEST_F(JpegSaveTest, WritesExactlyWhatTheEncoderMakes) {
  Dib picture = Picture32(40, 30, Smooth);
  std::string path = Utf8(folder_ / "shot.jpg");
  SaveJpeg(picture, path, CaptureJpegParams);
  EXPECT_EQ(Read(folder_ / "shot.jpg"), EncodeJpeg(picture, CaptureJpegParams));
  EXPECT_EQ(Names(), std::vector<std::string>{"shot.jpg"});

  // Saving again replaces the file.
  SaveJpeg(picture, path, {20, true});
  EXPECT_EQ(Read(folder_ / "shot.jpg"), EncodeJpeg(picture, {20, true}));
  EXPECT_EQ(Names(), std::vector<std::string>{"shot.jpg"});
}

TEST_F(JpegSaveTest, MissingFolderGivesFileCreateErrorAndLeavesNothing) {
  std::string path = Utf8(folder_ / "missing" / "shot.jpg");
  EXPECT_TRUE(IsFileErrorWithReason(ErrorOf([&] { SaveJpeg(Picture24(8, 8, Smooth), path, CaptureJpegParams); }),
                                    FileCreateError(path)));
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
  EXPECT_TRUE(Names().empty());
}

TEST_F(JpegSaveTest, EncoderErrorLeavesNoFileAndKeepsAnExistingOne) {
  std::string fresh = Utf8(folder_ / "fresh.jpg");
  EXPECT_EQ(ErrorOf([&] { SaveJpeg(Dib{}, fresh, CaptureJpegParams); }), JpegError(JERR_EMPTY_IMAGE).what());
  EXPECT_TRUE(Names().empty());

  std::string existing = Utf8(folder_ / "existing.jpg");
  SaveJpeg(Picture24(8, 8, Smooth), existing, CaptureJpegParams);
  std::vector<std::uint8_t> before = Read(folder_ / "existing.jpg");
  EXPECT_EQ(ErrorOf([&] { SaveJpeg(Dib{}, existing, CaptureJpegParams); }), JpegError(JERR_EMPTY_IMAGE).what());
  EXPECT_EQ(Read(folder_ / "existing.jpg"), before);
  EXPECT_EQ(Names(), std::vector<std::string>{"existing.jpg"});
}

}  // namespace
}  // namespace kmrn
