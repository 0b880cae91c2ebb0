#pragma once
// The messages by which a second start hands its file to the running copy: WM_COPYDATA with one
// of two dwData tags. The first carries the path in the ANSI code page followed by a NUL byte, as
// every version of the program and other programs send it; the second carries it in UTF-16
// followed by a NUL character, for a path the ANSI code page cannot spell.

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

}  // namespace kmrn
