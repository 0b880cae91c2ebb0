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

}  // namespace kmrn
