#include "shell/forwarded_file.h"

#include <cstring>

namespace kmrn {

std::vector<char> MakeForwardedFilePayload(const std::string& ansiPath) {
  std::vector<char> payload(ansiPath.begin(), ansiPath.end());
  payload.push_back('\0');
  return payload;
}

std::string ReadForwardedFilePayload(const void* data, std::size_t size) {
  if (!data) return {};
  const char* text = static_cast<const char*>(data);
  const void* nul = std::memchr(text, '\0', size);
  return std::string(text, nul ? static_cast<const char*>(nul) : text + size);
}

std::vector<char> MakeUnicodeForwardedFilePayload(std::u16string_view path) {
  std::vector<char> payload;
  payload.reserve((path.size() + 1) * 2);
  for (char16_t unit : path) {
    payload.push_back(static_cast<char>(unit & 0xFF));
    payload.push_back(static_cast<char>(unit >> 8));
  }
  payload.insert(payload.end(), 2, '\0');
  return payload;
}

std::u16string ReadUnicodeForwardedFilePayload(const void* data, std::size_t size) {
  if (!data) return {};
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::u16string path;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    path.push_back(unit);
  }
  return path;
}

ForwardedFileMessage ForwardedFileMessageFor(std::u16string_view path, std::string_view utf8Path,
                                             std::string_view ansiPath, std::string_view ansiReadBack) {
  if (ansiReadBack == utf8Path) return {CopyDataOpenFile, MakeForwardedFilePayload(std::string(ansiPath))};
  return {CopyDataOpenFileUnicode, MakeUnicodeForwardedFilePayload(path)};
}

SecondStartStep NextSecondStartStep(bool hasFile, bool handedOver, std::uint32_t waitedMs) {
  // Without a file there is nothing to hand over, and nothing to say.
  if (!hasFile || handedOver) return SecondStartStep::End;
  if (waitedMs > RunningCopyWaitMs) return SecondStartStep::ReportNotTaken;
  return SecondStartStep::WaitAgain;
}

}  // namespace kmrn
