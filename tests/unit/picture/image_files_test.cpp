// The picture-file front door: the viewer's JPEG settings, the choice of reader by the file's name,
// and LoadImageFile's dispatch.

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
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
using testing::IsFileErrorWithReason;
using testing::Utf8;

namespace fs = std::filesystem;

TEST(ImageFileJpegParams, ViewerQualityIsClampedAndProgressivePassedOn) {
  struct Case {
    std::int32_t quality;
    bool progressive;
    int expectedQuality;
  };
  const Case cases[] = {
      {90, false, 90}, {75, true, 75},    {1, false, 1},     {100, true, 100},       {0, false, 1},
      {-5, true, 1},   {300, false, 100}, {356, false, 100}, {INT32_MAX, true, 100}, {INT32_MIN, false, 1},
  };
  for (const Case& c : cases) {
    JpegParams params = ViewerJpegParams(c.quality, c.progressive);
    EXPECT_EQ(params.quality, c.expectedQuality) << c.quality;
    EXPECT_EQ(params.progressive, c.progressive) << c.quality;
  }
  EXPECT_EQ(CaptureJpegParams.quality, 90);
  EXPECT_FALSE(CaptureJpegParams.progressive);
}

TEST(ImageFileKind, ByTheExtensionOfTheFileNameIgnoringCase) {
  struct Case {
    const char* path;
    ImageFileKind kind;
  };
  const Case cases[] = {
      {"a.bmp", ImageFileKind::Bmp},
      {"A.BMP", ImageFileKind::Bmp},
      {"x.jpg", ImageFileKind::Jpeg},
      {"x.JpG", ImageFileKind::Jpeg},
      {"PHOTO.JPEG", ImageFileKind::Jpeg},
      {"C:\\Pictures\\shot.Bmp", ImageFileKind::Bmp},
      {"/home/me/shot.jpeg", ImageFileKind::Jpeg},
      {"archive.jpg.bmp", ImageFileKind::Bmp},  // only the last extension counts
      {".jpg", ImageFileKind::Jpeg},
      {"x.png", ImageFileKind::Png},
      {"C:\\Shots\\SHOT.Png", ImageFileKind::Png},
      {"x.pngx", ImageFileKind::Other},
      {"x.gif", ImageFileKind::Other},
      {"x.jpe", ImageFileKind::Other},
      {"x.jpgx", ImageFileKind::Other},
      {"x.bmp.txt", ImageFileKind::Other},
      {"x.bmp ", ImageFileKind::Other},
      {"x.", ImageFileKind::Other},
      {"noext", ImageFileKind::Other},
      {"", ImageFileKind::Other},
      // A dot in a folder's name is not an extension.
      {"a.b\\noext", ImageFileKind::Other},
      {"a.b/noext", ImageFileKind::Other},
      {"photos.jpg\\readme", ImageFileKind::Other},
      {"C:\\shots.bmp/", ImageFileKind::Other},
  };
  for (const Case& c : cases) EXPECT_EQ(ImageFileKindOf(c.path), c.kind) << '"' << c.path << '"';
}

class LoadImageFileTest : public testing::TempFolderTest {
 protected:
  // A copy of a sample file under another name, to show that the name alone picks the reader.
  std::string CopyAs(const std::string& sample, const std::string& name) {
    std::vector<std::uint8_t> bytes = ReadWholeFile(TestDataPath(sample));
    std::ofstream(folder_ / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return Utf8(folder_ / name);
  }
};

TEST_F(LoadImageFileTest, OtherFilesAreNotOpened) {
  // Opening would fail for this one, so no error shows it was left alone.
  EXPECT_FALSE(LoadImageFile(Utf8(folder_ / "missing.gif"), false).has_value());
  EXPECT_FALSE(LoadImageFile(CopyAs("jpeg/testorig.jpg", "photo.jpg.txt"), false).has_value());
}

TEST_F(LoadImageFileTest, MissingFileIsAFileOpenError) {
  for (const char* name : {"missing.jpg", "missing.BMP", "missing.png"}) {
    std::string path = Utf8(folder_ / name);
    EXPECT_TRUE(IsFileErrorWithReason(ErrorOf([&] { LoadImageFile(path, false); }), FileOpenError(path)));
  }
}

TEST_F(LoadImageFileTest, JpegFilesGoThroughTheJpegReader) {
  std::optional<Dib> colour = LoadImageFile(TestDataPath("jpeg/testorig.jpg"), false);
  ASSERT_TRUE(colour.has_value());
  EXPECT_EQ(colour->bitCount, 24);
  EXPECT_EQ(colour->width, 227);
  EXPECT_EQ(colour->height, 149);
  EXPECT_EQ(colour->bits, DecodeJpeg(ReadWholeFile(TestDataPath("jpeg/testorig.jpg")), false).bits);

  std::optional<Dib> low = LoadImageFile(CopyAs("jpeg/testorig.jpg", "PHOTO.JPEG"), true);
  ASSERT_TRUE(low.has_value());
  EXPECT_EQ(low->bitCount, 8);

  EXPECT_EQ(ErrorOf([&] { LoadImageFile(TestDataPath("jpeg/notjpeg.jpg"), false); }), JpegError(JERR_NO_SOI).what());
}

TEST_F(LoadImageFileTest, BmpFilesGoThroughTheBmpReader) {
  std::optional<Dib> dib = LoadImageFile(TestDataPath("bmpsuite/good/rgb24.bmp"), true);
  ASSERT_TRUE(dib.has_value());
  EXPECT_EQ(dib->bits, DecodeBmp(ReadWholeFile(TestDataPath("bmpsuite/good/rgb24.bmp"))).bits);
}

TEST_F(LoadImageFileTest, TheNameNotTheContentPicksTheReader) {
  std::string jpegNamedBmp = CopyAs("jpeg/testorig.jpg", "photo.bmp");
  EXPECT_EQ(ErrorOf([&] { LoadImageFile(jpegNamedBmp, false); }), InvalidBitmapError().what());
  std::string bmpNamedJpeg = CopyAs("bmpsuite/good/rgb24.bmp", "picture.jpg");
  EXPECT_EQ(ErrorOf([&] { LoadImageFile(bmpNamedJpeg, false); }), JpegError(JERR_NO_SOI).what());
}

}  // namespace
}  // namespace kmrn
