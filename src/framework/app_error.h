#pragma once
// The program's errors. Every failure the user must hear about is an AppError whose text (UTF-8)
// is shown as it stands in the standard error box.

#include <exception>
#include <stdexcept>
#include <string>

namespace kmrn {

class AppError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The program's own text and, on a line of its own, the system's reason when there is one.
std::string TextWithReason(const std::string& text, const std::string& reason);

// A file that could not be read or written, with the system's reason (empty when there was none,
// as for a file beyond the size the program reads), which the text already ends with.
class FileError : public AppError {
 public:
  FileError(const std::string& text, std::string reason);
  const std::string& Reason() const noexcept { return reason_; }

 private:
  std::string reason_;
};

// The error texts the program shows. Paths are UTF-8. A reason, when the system gave one (a failed
// call's SystemCallError text), follows the program's own text on a line of its own.
FileError FileCreateError(const std::string& path, const std::string& reason = {});  // "ファイル %s を作成できません"
FileError FileOpenError(const std::string& path, const std::string& reason = {});  // "ファイル %s は開けません"
AppError InvalidBitmapError();        // "ビットマップイメージが不正です"
AppError JpegError(int messageCode);  // "JPEG エラー #%d"
AppError PngError();                  // "PNG イメージが不正です"
AppError IniWriteError(const std::string& iniPath, const std::string& reason = {});  // "%s に書き込めません"
AppError ClipboardError(const std::string& reason = {});  // "クリップボードにコピーできません"
AppError ClipboardReadError(const std::string& reason);   // "クリップボードを読み取れません"
AppError ImageTooLargeError(long long width, long long height);
// The external program could not be started: "%s を起動できません".
AppError ProgramStartError(const std::string& commandLine, const std::string& reason);
// The running copy of the program did not take a file a second start handed it:
// "ファイル %s を起動中の Kamerin に渡せませんでした".
AppError ForwardFileError(const std::string& path);
// A system call that failed, with the system's own reason (empty when it gave none):
// "%s が失敗しました: %s (エラー %lu)".
AppError SystemCallError(const std::string& call, unsigned long code, const std::string& reason);

// The system's own text for an error code as it goes into a reason: without the line break (and
// the spaces) the system ends its texts with.
std::string SystemReason(std::string systemText);

// What the standard error box says: the program's own errors speak for themselves; any other
// comes from the runtime, in English, and is framed by a sentence of the program's.
std::string ErrorBoxText(const std::exception& error);

}  // namespace kmrn
