// DecodeJpeg against the sample files and against files made here with plain libjpeg, whose own
// RGB output is the reference for what our blue-green-red, bottom-up picture must hold.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>

#include <jerror.h>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "picture/image_files.h"
#include "test_data.h"
#include "test_support.h"

namespace kmrn {
namespace {

using testing::ErrorOf;

std::vector<std::uint8_t> Sample(const std::string& name) { return ReadWholeFile(TestDataPath("jpeg/" + name)); }

std::string JpegErrorText(int code) { return JpegError(code).what(); }

// --- Plain libjpeg, the reference ---------------------------------------------------------------

struct Picture {
  int width = 0, height = 0, components = 0;
  std::vector<std::uint8_t> samples;  // top-down, packed
  const std::uint8_t* At(int x, int y) const {
    return samples.data() + (static_cast<std::size_t>(y) * width + x) * components;
  }
};

// Decodes as DecodeJpeg does (float DCT, block smoothing) but to packed top-down RGB or gray.
Picture PlainDecode(const std::vector<std::uint8_t>& file) {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.dct_method = JDCT_FLOAT;
  cinfo.do_block_smoothing = TRUE;
  if (cinfo.jpeg_color_space != JCS_GRAYSCALE) cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  Picture picture;
  picture.width = static_cast<int>(cinfo.output_width);
  picture.height = static_cast<int>(cinfo.output_height);
  picture.components = cinfo.output_components;
  picture.samples.resize(static_cast<std::size_t>(picture.width) * picture.height * picture.components);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row =
        picture.samples.data() + static_cast<std::size_t>(cinfo.output_scanline) * picture.width * picture.components;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return picture;
}

std::vector<std::uint8_t> PlainEncode(const Picture& picture, bool progressive,
                                      const std::vector<jpeg_scan_info>& script = {}) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  cinfo.input_components = picture.components;
  cinfo.in_color_space = picture.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  if (!script.empty()) {
    cinfo.scan_info = script.data();
    cinfo.num_scans = static_cast<int>(script.size());
  }
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    auto* row = const_cast<JSAMPROW>(picture.At(0, static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> file(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return file;
}

Picture GrayRamp(int width, int height) {
  Picture picture{width, height, 1, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.samples.push_back(static_cast<std::uint8_t>((x * 7 + y * 3) & 0xFF));
  }
  return picture;
}

// Overwrites the size in the frame header, leaving the scans as they are: how a hostile file
// claims a huge picture with a few bytes.
std::vector<std::uint8_t> WithClaimedSize(std::vector<std::uint8_t> file, std::uint16_t width, std::uint16_t height) {
  std::size_t at = 2;
  while (at + 9 < file.size() && file[at] == 0xFF) {
    std::uint8_t marker = file[at + 1];
    if (marker >= 0xC0 && marker <= 0xC2) {
      file[at + 5] = static_cast<std::uint8_t>(height >> 8);
      file[at + 6] = static_cast<std::uint8_t>(height);
      file[at + 7] = static_cast<std::uint8_t>(width >> 8);
      file[at + 8] = static_cast<std::uint8_t>(width);
      return file;
    }
    at += 2 + (file[at + 2] << 8 | file[at + 3]);
  }
  ADD_FAILURE() << "no frame header";
  return file;
}

// A 24-bit picture's pixel as red, green, blue.
std::array<int, 3> RgbAt(const Dib& dib, int x, int y) {
  const std::uint8_t* p = dib.RowFromTop(y) + 3 * x;
  return {p[2], p[1], p[0]};
}

// An 8-bit picture's pixel looked up in its palette, as red, green, blue.
std::array<int, 3> PaletteRgbAt(const Dib& dib, int x, int y) {
  std::uint8_t index = dib.RowFromTop(y)[x];
  if (index >= dib.palette.size()) return {-1000, -1000, -1000};
  const Rgbq& c = dib.palette[index];
  return {c.red, c.green, c.blue};
}

// --- The sample files -------------------------------------------------------------------------

enum class Outcome { Colour, Gray, Error };

struct SampleCase {
  Outcome outcome;
  int errorCode = 0;
};

// Every file of the sample folder, with what the viewer must make of it.
const std::map<std::string, SampleCase>& SampleCases() {
  static const std::map<std::string, SampleCase> cases = {
      {"testorig.jpg", {Outcome::Colour}},
      {"testimgint.jpg", {Outcome::Colour}},
      {"testimgari.jpg", {Outcome::Colour}},  // arithmetic coding
      {"progressive.jpg", {Outcome::Colour}},
      {"truncated.jpg", {Outcome::Colour}},  // warns, and the missing part is filled
      {"gray.jpg", {Outcome::Gray}},
      // libjpeg-turbo 2.1 has no CMYK to RGB conversion.
      {"cmyk.jpg", {Outcome::Error, JERR_CONVERSION_NOTIMPL}},
      {"testorig12.jpg", {Outcome::Error, JERR_BAD_PRECISION}},
      {"notjpeg.jpg", {Outcome::Error, JERR_NO_SOI}},
  };
  return cases;
}

TEST(JpegSamples, TableNamesEveryFileOfTheFolder) {
  std::vector<std::string> missing;
  for (const auto& entry : std::filesystem::directory_iterator(TestDataPath("jpeg"))) {
    std::string name = entry.path().filename().string();
    if (!SampleCases().contains(name)) missing.push_back(name);
  }
  EXPECT_TRUE(missing.empty()) << "no expectation for " << ::testing::PrintToString(missing);
}

TEST(JpegSamples, EachDecodesOrFailsWithItsJpegError) {
  for (const auto& [name, expected] : SampleCases()) {
    for (bool lowColor : {false, true}) {
      SCOPED_TRACE(name + (lowColor ? " (low colour)" : ""));
      std::vector<std::uint8_t> file = Sample(name);
      if (expected.outcome == Outcome::Error) {
        EXPECT_EQ(ErrorOf([&] { DecodeJpeg(file, lowColor); }), JpegErrorText(expected.errorCode));
        continue;
      }
      Dib dib = DecodeJpeg(file, lowColor);
      EXPECT_EQ(dib.width, 227);
      EXPECT_EQ(dib.height, 149);
      bool indexed = lowColor || expected.outcome == Outcome::Gray;
      EXPECT_EQ(dib.bitCount, indexed ? 8 : 24);
      EXPECT_EQ(dib.bits.size(), dib.Stride() * 149);
      if (indexed) {
        EXPECT_GE(dib.palette.size(), 2u);
        EXPECT_LE(dib.palette.size(), 236u);
      } else {
        EXPECT_TRUE(dib.palette.empty());
      }
    }
  }
}

// The reference decode and ours run the same library with the same settings, so every sample
// must agree exactly; a swapped channel or an upside-down picture cannot.
TEST(JpegSamples, ColourFilesMatchLibjpegsOwnRgbOutput) {
  for (const char* name : {"testorig.jpg", "testimgari.jpg", "progressive.jpg", "truncated.jpg"}) {
    SCOPED_TRACE(name);
    std::vector<std::uint8_t> file = Sample(name);
    Picture reference = PlainDecode(file);
    Dib dib = DecodeJpeg(file, false);
    ASSERT_EQ(reference.components, 3);
    ASSERT_EQ(dib.width, reference.width);
    ASSERT_EQ(dib.height, reference.height);
    int mismatches = 0;
    for (int y = 0; y < dib.height; ++y) {
      for (int x = 0; x < dib.width; ++x) {
        const std::uint8_t* want = reference.At(x, y);
        if (RgbAt(dib, x, y) != std::array<int, 3>{want[0], want[1], want[2]}) ++mismatches;
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

TEST(JpegSamples, TruncatedFileKeepsTheRowsItHas) {
  Dib whole = DecodeJpeg(Sample("testorig.jpg"), false);
  Dib cut = DecodeJpeg(Sample("truncated.jpg"), false);
  ASSERT_EQ(cut.bits.size(), whole.bits.size());
  // 3000 of 5770 bytes carry well over the first 32 rows.
  for (int y = 0; y < 32; ++y) {
    EXPECT_EQ(0, std::memcmp(whole.RowFromTop(y), cut.RowFromTop(y), 3 * 227)) << "row " << y;
  }
  EXPECT_NE(0, std::memcmp(whole.RowFromTop(148), cut.RowFromTop(148), 3 * 227));
}

// --- Colours and orientation --------------------------------------------------------------------

TEST(JpegColours, RedStaysRedAndBlueStaysBlueTopToBottom) {
  // Red above, blue below, as another program would write it.
  Picture source{32, 32, 3, {}};
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      source.samples.insert(source.samples.end(), {std::uint8_t(y < 16 ? 255 : 0), 0, std::uint8_t(y < 16 ? 0 : 255)});
    }
  }
  std::vector<std::uint8_t> file = PlainEncode(source, false);

  Dib dib = DecodeJpeg(file, false);
  ASSERT_EQ(dib.bitCount, 24);
  for (auto [y, want] : {std::pair{4, std::array<int, 3>{255, 0, 0}}, std::pair{27, std::array<int, 3>{0, 0, 255}}}) {
    std::array<int, 3> got = RgbAt(dib, 16, y);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], 8) << "row " << y << " channel " << c;
  }

  Dib low = DecodeJpeg(file, true);
  ASSERT_EQ(low.bitCount, 8);
  for (auto [y, want] : {std::pair{4, std::array<int, 3>{255, 0, 0}}, std::pair{27, std::array<int, 3>{0, 0, 255}}}) {
    std::array<int, 3> got = PaletteRgbAt(low, 16, y);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], 16) << "row " << y << " channel " << c;
  }
}

double MeanAbsoluteError(const Dib& indexed, const std::function<std::array<int, 3>(int, int)>& reference) {
  double sum = 0;
  for (int y = 0; y < indexed.height; ++y) {
    for (int x = 0; x < indexed.width; ++x) {
      std::array<int, 3> got = PaletteRgbAt(indexed, x, y), want = reference(x, y);
      for (int c = 0; c < 3; ++c) sum += std::abs(got[c] - want[c]);
    }
  }
  return sum / (3.0 * indexed.width * indexed.height);
}

TEST(JpegColours, GrayFileBecomesEightBitsWithAGrayPalette) {
  std::vector<std::uint8_t> file = Sample("gray.jpg");
  Picture reference = PlainDecode(file);
  ASSERT_EQ(reference.components, 1);
  for (bool lowColor : {false, true}) {
    SCOPED_TRACE(lowColor ? "low colour" : "full colour");
    Dib dib = DecodeJpeg(file, lowColor);
    ASSERT_EQ(dib.bitCount, 8);
    ASSERT_LE(dib.palette.size(), 236u);
    for (const Rgbq& entry : dib.palette) {
      EXPECT_EQ(entry.red, entry.green);
      EXPECT_EQ(entry.green, entry.blue);
    }
    double error = MeanAbsoluteError(dib, [&](int x, int y) {
      int level = *reference.At(x, y);
      return std::array<int, 3>{level, level, level};
    });
    EXPECT_LT(error, 1.5);
  }
}

TEST(JpegColours, LowColourDisplayGetsAPaletteThatStillLooksRight) {
  std::vector<std::uint8_t> file = Sample("testorig.jpg");
  Dib full = DecodeJpeg(file, false);
  Dib low = DecodeJpeg(file, true);
  ASSERT_EQ(low.bitCount, 8);
  ASSERT_LE(low.palette.size(), 236u);
  // A palette stored in the wrong channel order puts this well above 20.
  EXPECT_LT(MeanAbsoluteError(low, [&](int x, int y) { return RgbAt(full, x, y); }), 6.0);
}

// --- Hostile files --------------------------------------------------------------------------

TEST(JpegLimits, PictureBeyondTheProgramsLimitsIsRefusedAtTheHeader) {
  std::vector<std::uint8_t> colour = Sample("testorig.jpg");
  // 10000 x 10000 fits at 8 bits (100 MB) but not at 24 (300 MB).
  EXPECT_EQ(ErrorOf([&] { DecodeJpeg(WithClaimedSize(colour, 10000, 10000), false); }),
            JpegErrorText(JERR_IMAGE_TOO_BIG));
  EXPECT_EQ(ErrorOf([&] { DecodeJpeg(WithClaimedSize(colour, 65000, 65000), true); }),
            JpegErrorText(JERR_IMAGE_TOO_BIG));
  std::vector<std::uint8_t> gray = Sample("gray.jpg");
  EXPECT_EQ(ErrorOf([&] { DecodeJpeg(WithClaimedSize(gray, 16384, 16385), false); }),
            JpegErrorText(JERR_IMAGE_TOO_BIG));
}

TEST(JpegLimits, LibraryMemoryIsCapped) {
  // 16000 x 16000 gray is within the picture limits at 8 bits, but a progressive file of that size
  // needs 512 MB of coefficients.
  std::vector<std::uint8_t> file = WithClaimedSize(PlainEncode(GrayRamp(16, 16), true), 16000, 16000);
  EXPECT_EQ(ErrorOf([&] { DecodeJpeg(file, false); }), JpegErrorText(JERR_NO_BACKING_STORE));
}

// A valid gray progressive script: the DC scan, then each AC coefficient in its own band, first
// sent from bit `bits`, then refined one bit at a time: 1 + 63 * (bits + 1) scans.
std::vector<jpeg_scan_info> ManyScans(int bits) {
  std::vector<jpeg_scan_info> script;
  script.push_back({1, {0}, 0, 0, 0, 0});
  for (int k = 1; k < 64; ++k) {
    script.push_back({1, {0}, k, k, 0, bits});
    for (int al = bits - 1; al >= 0; --al) script.push_back({1, {0}, k, k, al + 1, al});
  }
  return script;
}

TEST(JpegLimits, ProgressiveScansAreCapped) {
  Picture source = GrayRamp(64, 64);
  std::vector<jpeg_scan_info> allowed = ManyScans(5), refused = ManyScans(10);
  ASSERT_EQ(allowed.size(), 379u);
  ASSERT_EQ(refused.size(), 694u);

  Dib dib = DecodeJpeg(PlainEncode(source, true, allowed), false);
  EXPECT_EQ(dib.width, 64);
  EXPECT_EQ(ErrorOf([&] { DecodeJpeg(PlainEncode(source, true, refused), false); }),
            JpegErrorText(JERR_BAD_PROGRESSION));
}

TEST(JpegLimits, EmptyInputIsAJpegError) {
  EXPECT_EQ(ErrorOf([] { DecodeJpeg({}, false); }), JpegErrorText(JERR_INPUT_EMPTY));
}

// Inputs the fuzzer (fuzz/jpeg_loader_fuzz.cpp) kept as the heaviest or oddest it made: each must
// decode or be refused with the program's error, in both display modes, and nothing else.
TEST(JpegFuzzRegressions, EveryKeptInputDecodesOrIsRefused) {
  std::filesystem::path folder = std::filesystem::path(__FILE__).parent_path() / "jpeg_crashers";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::u8string name = entry.path().u8string();
    std::vector<std::uint8_t> file = ReadWholeFile(std::string(name.begin(), name.end()));
    for (bool lowColor : {false, true}) {
      SCOPED_TRACE(entry.path().filename().string() + (lowColor ? " (low colour)" : ""));
      try {
        Dib dib = DecodeJpeg(file, lowColor);
        EXPECT_EQ(dib.bits.size(), dib.Stride() * static_cast<std::size_t>(dib.height));
      } catch (const AppError&) {
      }
    }
    ++files;
  }
  EXPECT_GT(files, 0) << "nothing in " << folder.string();
}

}  // namespace
}  // namespace kmrn
