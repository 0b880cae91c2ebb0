#pragma once
// The message by which a second start hands its file to the running copy: WM_COPYDATA with
// this dwData, and the path in the ANSI code page followed by a NUL byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kmrn {

inline constexpr std::uint32_t CopyDataOpenFile = 0x49716955;

// The bytes to send: the path and its terminating NUL (cbData = length + 1).
std::vector<char> MakeForwardedFilePayload(const std::string& ansiPath);

// The path in a received payload: the text up to its first NUL, never reading past size bytes.
std::string ReadForwardedFilePayload(const void* data, std::size_t size);

}  // namespace kmrn
