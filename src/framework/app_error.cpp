#include "framework/app_error.h"

#include <new>

namespace kmrn {
namespace {

AppError WithReason(const std::string& text, const std::string& reason) {
  return AppError(TextWithReason(text, reason));
}

}  // namespace

std::string TextWithReason(const std::string& text, const std::string& reason) {
  return reason.empty() ? text : text + "\r\n" + reason;
}

FileError::FileError(const std::string& text, std::string reason)
    : AppError(TextWithReason(text, reason)), reason_(std::move(reason)) {}

FileError FileCreateError(const std::string& path, const std::string& reason) {
  return FileError("ファイル " + path + " を作成できません", reason);
}

FileError FileOpenError(const std::string& path, const std::string& reason) {
  return FileError("ファイル " + path + " は開けません", reason);
}

AppError InvalidBitmapError() { return AppError("ビットマップイメージが不正です"); }

AppError JpegError(int messageCode) { return AppError("JPEG エラー #" + std::to_string(messageCode)); }

AppError PngError() { return AppError("PNG イメージが不正です"); }

AppError IniWriteError(const std::string& iniPath, const std::string& reason) {
  return WithReason(iniPath + " に書き込めません", reason);
}

AppError ClipboardError(const std::string& reason) { return WithReason("クリップボードにコピーできません", reason); }

AppError ClipboardReadError(const std::string& reason) { return WithReason("クリップボードを読み取れません", reason); }

AppError ImageTooLargeError(long long width, long long height) {
  return AppError("画像が大きすぎます (" + std::to_string(width) + " x " + std::to_string(height) + ")");
}

AppError ProgramStartError(const std::string& commandLine, const std::string& reason) {
  return WithReason(commandLine + " を起動できません", reason);
}

AppError ForwardFileError(const std::string& path) {
  return AppError("ファイル " + path + " を起動中の Kamerin に渡せませんでした");
}

AppError SystemCallError(const std::string& call, unsigned long code, const std::string& reason) {
  std::string text = call + " が失敗しました";
  if (!reason.empty()) text += ": " + reason;
  if (code != 0) text += " (エラー " + std::to_string(code) + ")";
  return AppError(text);
}

std::string SystemReason(std::string systemText) {
  // The system's texts end in a full stop and a line break, some with a space between.
  while (!systemText.empty() && (systemText.back() == '\r' || systemText.back() == '\n' || systemText.back() == ' ')) {
    systemText.pop_back();
  }
  return systemText;
}

std::string ErrorBoxText(const std::exception& error) {
  if (dynamic_cast<const AppError*>(&error)) return error.what();
  if (dynamic_cast<const std::bad_alloc*>(&error)) return "メモリが足りません";
  return std::string("予期しないエラーが起きました (") + error.what() + ")";
}

}  // namespace kmrn
