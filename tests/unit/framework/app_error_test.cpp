#include "framework/app_error.h"

#include <gtest/gtest.h>

#include <new>

namespace kmrn {
namespace {

TEST(ErrorTexts, AFailedCallIsToldWithTheSystemsReasonAndOnlyForeignErrorsAreFramed) {
  // As the system words its texts: a full stop, perhaps a space, and a line break.
  const std::string call = SystemCallError("CreateProcessW", 2, SystemReason("見つかりません。 \r\n")).what();
  EXPECT_EQ(call, "CreateProcessW が失敗しました: 見つかりません。 (エラー 2)");
  EXPECT_EQ(ProgramStartError("mspaint.exe", call).what(), "mspaint.exe を起動できません\r\n" + call);
  EXPECT_STREQ(SystemCallError("GetDC", 0, SystemReason("\r\n")).what(), "GetDC が失敗しました");

  struct ComponentError : AppError {
    using AppError::AppError;
  };
  EXPECT_EQ(ErrorBoxText(ComponentError("ホットキーが無効です")), "ホットキーが無効です");
  EXPECT_EQ(ErrorBoxText(std::bad_alloc()), "メモリが足りません");
  EXPECT_EQ(ErrorBoxText(std::out_of_range("vector")), "予期しないエラーが起きました (vector)");
}

}  // namespace
}  // namespace kmrn
