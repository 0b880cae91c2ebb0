#include "picture/base_file_name.h"

#include <gtest/gtest.h>

#include <set>

namespace kmrn {
namespace {

TEST(BaseFileName, IsTheFolderABackslashAndThePaddedLocalTime) {
  EXPECT_EQ(FormatBaseFileName("D:\\shots", {2024, 3, 5, 7, 8, 9}), "D:\\shots\\20240305_070809");
  EXPECT_EQ(FormatBaseFileName("D:\\shots", {2024, 12, 31, 23, 59, 59}), "D:\\shots\\20241231_235959");
  EXPECT_EQ(FormatBaseFileName("D:\\shots", {2025, 1, 1, 0, 0, 0}), "D:\\shots\\20250101_000000");
  EXPECT_EQ(FormatBaseFileName("E:\\", {2024, 3, 5, 7, 8, 9}), "E:\\\\20240305_070809");
  EXPECT_EQ(FormatBaseFileName("x", {999, 1, 1, 0, 0, 0}), "x\\09990101_000000");
}

TEST(BaseFileName, ATakenNameGetsTheNextFreeSuffixForAllExtensions) {
  const LocalTime t{2024, 3, 5, 7, 8, 9};
  std::set<std::string> existing;
  auto exists = [&](const std::string& path) { return existing.count(path) > 0; };

  EXPECT_EQ(MakeUniqueBaseFileName("D:", t, {".bmp", ".jpg"}, exists), "D:\\20240305_070809");
  existing.insert("D:\\20240305_070809.jpg");  // only the JPEG of the first capture
  EXPECT_EQ(MakeUniqueBaseFileName("D:", t, {".bmp", ".jpg"}, exists), "D:\\20240305_070809_2");
  EXPECT_EQ(MakeUniqueBaseFileName("D:", t, {".bmp"}, exists), "D:\\20240305_070809");
  existing.insert("D:\\20240305_070809_2.bmp");
  EXPECT_EQ(MakeUniqueBaseFileName("D:", t, {".bmp", ".jpg"}, exists), "D:\\20240305_070809_3");
}

}  // namespace
}  // namespace kmrn
