#include "framework/text.h"

namespace kmrn {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::string CutToEncodedLength(std::string_view text, std::size_t maxBytes, const EncodedLength& bytesOf) {
  std::size_t kept = 0;
  std::size_t encoded = 0;
  while (kept < text.size()) {
    std::size_t end = kept + 1;
    while (end < text.size() && IsUtf8Continuation(text[end])) ++end;
    encoded += bytesOf(text.substr(kept, end - kept));
    if (encoded > maxBytes) break;
    kept = end;
  }
  return std::string(text.substr(0, kept));
}

}  // namespace kmrn
