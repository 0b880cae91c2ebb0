#pragma once
// The keys of the settings section as the program reads and writes them in the INI file's bytes.
// A value reaches the program as text of the file's code page, no longer than the platform's
// profile functions have ever delivered one; a value the program has not changed goes back as the
// very bytes it came from (bytes that are no text of the code page would not survive the way
// through Unicode and back, nor would the part of a long value the program never saw), and its
// line stays as it was.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "settings/ini_text.h"
#include "settings/settings.h"

namespace kmrn {

class IniProfile final : public ProfileReader, public ProfileWriter {
 public:
  // Text of the file's code page to UTF-8, or back.
  using Conversion = std::string (*)(std::string_view);

  // The profile functions deliver a value through a 2048-byte buffer.
  static constexpr std::size_t ValueMaxBytes = 2047;

  IniProfile(Conversion toUtf8, Conversion fromUtf8) : toUtf8_(toUtf8), fromUtf8_(fromUtf8) {}

  // The file's bytes as they are now (none for a missing file). What was read before is still
  // remembered, so that a save after a load recognises the values the program left alone.
  void SetBytes(std::string bytes) { text_ = IniText(std::move(bytes)); }
  const std::string& Bytes() const { return text_.Bytes(); }

  std::string ReadString(const char* key, const std::string& fallback) override;
  void WriteString(const char* key, const std::string& value) override;

 private:
  // The bytes a value had in the file and the text the program made of them.
  struct KeptValue {
    std::string bytes;
    std::string text;
  };

  Conversion toUtf8_;
  Conversion fromUtf8_;
  IniText text_;
  std::map<std::string, KeptValue> kept_;
};

}  // namespace kmrn
