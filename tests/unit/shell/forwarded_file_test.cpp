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

}  // namespace
}  // namespace kmrn
