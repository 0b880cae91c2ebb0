#pragma once
// The settings file beside the executable. Its bytes are read and edited as the platform's
// profile functions would (other sections, comments and the order of existing keys stay), but by
// the program itself, so that every byte it does not change stays exactly as it was, and the file
// is replaced only by a complete new one.

#include <string>

#include "settings/ini_profile.h"
#include "settings/settings.h"

namespace kmrn {

class IniFile {
 public:
  // The file of this program: the executable's path with ".ini" for its extension.
  static IniFile ForThisProgram();

  explicit IniFile(std::string path);
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // The whole file, with the defaults for what it lacks (a missing or unreadable file: all).
  SettingsFile Load(const std::string& appDir);
  // Writes every key into the file as it is on disk now; throws "%s に書き込めません" when the file
  // cannot be read or written, leaving it as it was.
  void Save(const SettingsFile& file);

 private:
  std::string path_;    // UTF-8
  IniProfile profile_;  // in the ANSI code page
};

}  // namespace kmrn
