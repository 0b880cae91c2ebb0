#include "framework/text.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

// As the Japanese ANSI code page measures: one byte for ASCII and half-width kana, two for the
// other Japanese characters, one (its "?") for a character it lacks, such as an emoji.
std::size_t ShiftJisLength(std::string_view utf8Character) {
  if (utf8Character.size() == 1) return 1;
  if (utf8Character.size() == 4) return 1;
  if (utf8Character == "ﾟ") return 1;
  return 2;
}

TEST(CutToEncodedLength, KeepsWholeCharactersWithinTheLimitOfTheNotificationTip) {
  const std::string ascii70(70, 'a');
  EXPECT_EQ(CutToEncodedLength(ascii70, 63, ShiftJisLength), std::string(63, 'a'));
  EXPECT_EQ(CutToEncodedLength("Kamerin", 63, ShiftJisLength), "Kamerin");

  // 62 bytes and a two-byte character: the character does not fit, and is not cut in half.
  const std::string ascii62(62, 'b');
  EXPECT_EQ(CutToEncodedLength(ascii62 + "画像", 63, ShiftJisLength), ascii62);
  EXPECT_EQ(CutToEncodedLength(std::string(61, 'b') + "画像", 63, ShiftJisLength), std::string(61, 'b') + "画");
  // 31 two-byte characters take 62 bytes; a one-byte half-width kana and an emoji's "?" still fit
  // one after the other only up to 63.
  std::string kanji;
  for (int i = 0; i < 31; ++i) kanji += "設";
  EXPECT_EQ(CutToEncodedLength(kanji + "ﾟ\U0001F600", 63, ShiftJisLength), kanji + "ﾟ");
  EXPECT_EQ(CutToEncodedLength(kanji + "\U0001F600ﾟ", 63, ShiftJisLength), kanji + "\U0001F600");
  EXPECT_EQ(CutToEncodedLength("", 63, ShiftJisLength), "");
}

}  // namespace
}  // namespace kmrn
