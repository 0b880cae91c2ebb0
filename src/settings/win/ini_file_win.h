#pragma once
// The settings file beside the executable. Its bytes are read and edited as the platform's
// profile functions would (other sections, comments and the order of existing keys stay), but by
// the program itself, so that every byte it does not change stays exactly as it was, and the file
// is replaced only by a complete new one.

#include <map>
#include <string>

#include "settings/ini_text.h"
#include "settings/settings.h"

namespace kmrn {

class IniFile final : public ProfileReader, public ProfileWriter {
 public:
  // The file of this program: the executable's path with ".ini" for its extension.
  static IniFile ForThisProgram();

  explicit IniFile(std::string path) : path_(std::move(path)) {}
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // The whole file, with the defaults for what it lacks (a missing or unreadable file: all).
  SettingsFile Load(const std::string& appDir);
  // Writes every key into the file as it is on disk now; throws "%s に書き込めません" when the file
  // cannot be read or written, leaving it as it was.
  void Save(const SettingsFile& file);

  std::string ReadString(const char* key, const std::string& fallback) override;
  void WriteString(const char* key, const std::string& value) override;

 private:
  // The bytes each value had in the file and the text the program made of them. Bytes that are
  // no text of the ANSI code page would not survive the way through Unicode and back, so a value
  // the program has not changed is written back as the very bytes it was read from.
  struct KeptValue {
    std::string bytes;
    std::string text;
  };

  std::string path_;  // UTF-8
  IniText text_;
  std::map<std::string, KeptValue> kept_;
};

}  // namespace kmrn
