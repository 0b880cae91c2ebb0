#include "shell/forwarded_file.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

TEST(ForwardedFile, PayloadIsThePathAndOneNul) {
  std::vector<char> payload = MakeForwardedFilePayload("C:\\a b\\x.bmp");
  ASSERT_EQ(payload.size(), 13u);
  EXPECT_EQ(payload.back(), '\0');
  EXPECT_EQ(ReadForwardedFilePayload(payload.data(), payload.size()), "C:\\a b\\x.bmp");
}

TEST(ForwardedFile, ReadingStopsAtTheFirstNulAndNeverPastTheSize) {
  const char withInnerNul[] = {'a', '.', 'b', 'm', 'p', '\0', 'z', 'z'};
  EXPECT_EQ(ReadForwardedFilePayload(withInnerNul, sizeof withInnerNul), "a.bmp");
  const char unterminated[] = {'a', '.', 'j', 'p', 'g', 'X', 'Y'};
  EXPECT_EQ(ReadForwardedFilePayload(unterminated, 5), "a.jpg");
  EXPECT_EQ(ReadForwardedFilePayload(nullptr, 10), "");
  EXPECT_EQ(ReadForwardedFilePayload(unterminated, 0), "");
}

TEST(ForwardedFile, TheUnicodeMessageCarriesEveryCharacter) {
  const std::u16string path = u"C:\\照片_个\U0001F600.bmp";  // a character of two code units at the end
  const std::vector<char> payload = MakeUnicodeForwardedFilePayload(path);
  ASSERT_EQ(payload.size(), (path.size() + 1) * 2);
  EXPECT_EQ(payload[0], 'C');
  EXPECT_EQ(payload[1], '\0') << "little-endian";
  EXPECT_EQ(ReadUnicodeForwardedFilePayload(payload.data(), payload.size()), path);

  // As for the ANSI message: up to the first NUL, never past the size, an odd byte left out.
  const char withInnerNul[] = {'a', 0, '.', 0, 0, 0, 'z', 0};
  EXPECT_EQ(ReadUnicodeForwardedFilePayload(withInnerNul, sizeof withInnerNul), u"a.");
  EXPECT_EQ(ReadUnicodeForwardedFilePayload(payload.data(), 5), u"C:");
  EXPECT_EQ(ReadUnicodeForwardedFilePayload(nullptr, 8), u"");
}

TEST(ForwardedFile, APathGoesAsAnsiOnlyWhenItsAnsiSpellingReadsBackAsThePath) {
  const ForwardedFileMessage ansi =
      ForwardedFileMessageFor(u"C:\\画.bmp", "C:\\画.bmp", "C:\\\x89\xe6.bmp", "C:\\画.bmp");
  EXPECT_EQ(ansi.tag, CopyDataOpenFile);
  EXPECT_EQ(ansi.payload, MakeForwardedFilePayload("C:\\\x89\xe6.bmp"));
  // A character the code page lacks reads back as "?", one with a look-alike as that.
  for (const char* readBack : {"C:\\?.bmp", "C:\\e.bmp"}) {
    const ForwardedFileMessage wide = ForwardedFileMessageFor(u"C:\\é.bmp", "C:\\é.bmp", readBack, readBack);
    EXPECT_EQ(wide.tag, CopyDataOpenFileUnicode);
    EXPECT_EQ(wide.payload, MakeUnicodeForwardedFilePayload(u"C:\\é.bmp"));
  }
}

TEST(ForwardedFile, ASecondStartEndsQuietlyWithoutAFileAndReportsOnlyAfterTheWait) {
  EXPECT_EQ(NextSecondStartStep(false, false, 0), SecondStartStep::End);
  EXPECT_EQ(NextSecondStartStep(true, false, RunningCopyWaitMs), SecondStartStep::WaitAgain);
  EXPECT_EQ(NextSecondStartStep(true, false, RunningCopyWaitMs + 1), SecondStartStep::ReportNotTaken);
  EXPECT_EQ(NextSecondStartStep(true, true, RunningCopyWaitMs + 40), SecondStartStep::End) << "taken at the last try";
}

}  // namespace
}  // namespace kmrn
