#pragma once
// The messages by which a second start hands its file to the running copy: WM_COPYDATA with one
// of two dwData tags. The first carries the path in the ANSI code page followed by a NUL byte, as
// every version of the program and other programs send it; the second carries it in UTF-16
// followed by a NUL character, for a path the ANSI code page cannot spell. The running copy may
// still be starting: a second start with a file tries again for a while, and should that copy end
// meanwhile, it takes the single-instance lock and becomes the running copy itself.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kmrn {

inline constexpr std::uint32_t CopyDataOpenFile = 0x49716955;
inline constexpr std::uint32_t CopyDataOpenFileUnicode = 0x49716956;

// The bytes to send: the path and its terminating NUL (cbData = length + 1).
std::vector<char> MakeForwardedFilePayload(const std::string& ansiPath);

// The path in a received payload: the text up to its first NUL, never reading past size bytes.
std::string ReadForwardedFilePayload(const void* data, std::size_t size);

// The same for the UTF-16 message: the path's code units, little-endian, and a NUL code unit.
std::vector<char> MakeUnicodeForwardedFilePayload(std::u16string_view path);
// Up to the first NUL code unit, never reading past size bytes (an odd last byte is no unit).
std::u16string ReadUnicodeForwardedFilePayload(const void* data, std::size_t size);

// The message a second start sends for a path.
struct ForwardedFileMessage {
  std::uint32_t tag = 0;
  std::vector<char> payload;
};

// The ANSI message when the path's ANSI spelling reads back as the path (no character was left
// out or replaced by a look-alike), as every version has sent it; the UTF-16 one otherwise.
ForwardedFileMessage ForwardedFileMessageFor(std::u16string_view path, std::string_view utf8Path,
                                             std::string_view ansiPath, std::string_view ansiReadBack);

// How long a start with a file waits for the running copy to take it, and how often it tries.
inline constexpr std::uint32_t RunningCopyWaitMs = 10000;
inline constexpr std::uint32_t RunningCopyPollMs = 50;

enum class SecondStartStep {
  End,             // ends quietly: there was no file, or the running copy took it
  ReportNotTaken,  // no running copy took the file in time: reported, and the start fails
  WaitAgain,       // tries again after RunningCopyPollMs, unless the lock is free by then
};

// The step after one try while another copy holds the lock. handedOver: the running copy's main
// window was found and took the file; waitedMs: the time since the start began to try.
SecondStartStep NextSecondStartStep(bool hasFile, bool handedOver, std::uint32_t waitedMs);

}  // namespace kmrn
