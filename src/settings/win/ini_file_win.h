#pragma once
// The settings file beside the executable, read and written through the platform's profile
// functions, which keep other sections, comments and the order of existing keys.

#include <string>

#include "settings/settings.h"

namespace kmrn {

class IniFile final : public ProfileReader, public ProfileWriter {
 public:
  // The file of this program: the executable's path with ".ini" for its extension.
  static IniFile ForThisProgram();

  explicit IniFile(std::string ansiPath) : ansiPath_(std::move(ansiPath)) {}
  // Flushes the platform's cache of the file, so that what was written is on disk.
  ~IniFile() override;
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  std::string ReadString(const char* key, const std::string& fallback) override;
  void WriteString(const char* key, const std::string& value) override;

 private:
  std::string ansiPath_;
};

// The whole file, with the defaults for what it lacks.
SettingsFile LoadSettingsFile(const std::string& appDir);
// Writes every key; throws "%s に書き込めません" at the first key the platform refuses.
void SaveSettingsFile(const SettingsFile& file);

}  // namespace kmrn
