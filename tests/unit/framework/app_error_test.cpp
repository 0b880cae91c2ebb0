#include "framework/app_error.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace kmrn {
namespace {

TEST(ErrorTexts, AFailedCallIsNamedWithTheSystemsReasonOnTheSameLine) {
  // As the system words its texts: a full stop, perhaps a space, and a line break.
  EXPECT_EQ(SystemReason("アクセスが拒否されました。\r\n"), "アクセスが拒否されました。");
  EXPECT_EQ(SystemReason("The handle is invalid. \r\n"), "The handle is invalid.");
  EXPECT_EQ(SystemReason(" \r\n"), "");

  EXPECT_STREQ(SystemCallError("BitBlt", 5, SystemReason("アクセスが拒否されました。\r\n")).what(),
               "BitBlt が失敗しました: アクセスが拒否されました。 (エラー 5)");
  EXPECT_STREQ(SystemCallError("GetDC", 1400, "").what(), "GetDC が失敗しました (エラー 1400)");
  EXPECT_STREQ(SystemCallError("GetDC", 0, "").what(), "GetDC が失敗しました");

  // An editor that cannot be started: the command line, and the failed call on a line of its own.
  const std::string reason = SystemCallError("CreateProcessW", 2, "指定されたファイルが見つかりません。").what();
  EXPECT_STREQ(ProgramStartError("mspaint.exe \"a.bmp\"", reason).what(),
               "mspaint.exe \"a.bmp\" を起動できません\r\nCreateProcessW が失敗しました: "
               "指定されたファイルが見つかりません。 (エラー 2)");
  EXPECT_STREQ(ProgramStartError("mspaint.exe", "").what(), "mspaint.exe を起動できません");
}

TEST(ErrorTexts, TheErrorBoxShowsTheProgramsOwnErrorsAsTheyStandAndFramesOthers) {
  class ComponentError : public AppError {
    using AppError::AppError;
  };
  EXPECT_EQ(ErrorBoxText(FileCreateError("C:\\画像\\a.bmp")), "ファイル C:\\画像\\a.bmp を作成できません");
  EXPECT_EQ(ErrorBoxText(ComponentError("ホットキーが登録できません(Ctrl+SnapShot)")),
            "ホットキーが登録できません(Ctrl+SnapShot)");
  EXPECT_EQ(ErrorBoxText(std::bad_alloc()), "メモリが足りません");
  EXPECT_EQ(ErrorBoxText(std::out_of_range("vector::_M_range_check")),
            "予期しないエラーが起きました (vector::_M_range_check)");
}

}  // namespace
}  // namespace kmrn
