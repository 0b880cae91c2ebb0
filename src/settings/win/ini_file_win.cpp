#include "settings/win/ini_file_win.h"

#include <windows.h>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "framework/win/text_win.h"

namespace kmrn {
namespace {

// The profile functions deliver a value through a 2048-byte buffer, so the program has always
// seen at most 2047 bytes of one; it still does. The file keeps the whole value unless the
// program changes it.
constexpr std::size_t ValueMaxBytes = 2047;

std::string ExecutablePath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return Narrow(path);
}

}  // namespace

IniFile IniFile::ForThisProgram() { return IniFile(IniPathForExecutable(ExecutablePath())); }

SettingsFile IniFile::Load(const std::string& appDir) {
  // Loading never creates the file; one that cannot be read gives the defaults.
  text_ = IniText();
  if (PathExists(path_)) {
    try {
      const std::vector<std::uint8_t> bytes = ReadWholeFile(path_);
      text_ = IniText(std::string(bytes.begin(), bytes.end()));
    } catch (const AppError&) {
    }
  }
  return ReadSettingsFile(*this, appDir);
}

void IniFile::Save(const SettingsFile& file) {
  // What is on disk now, with whatever else has changed it since the start; a file that exists
  // but cannot be read is not replaced, or its other contents would be lost.
  try {
    text_ = IniText();
    if (PathExists(path_)) {
      const std::vector<std::uint8_t> bytes = ReadWholeFile(path_);
      text_ = IniText(std::string(bytes.begin(), bytes.end()));
    }
    WriteSettingsFile(*this, file);
    AtomicFileWriter writer(path_);
    writer.Write(text_.Bytes().data(), text_.Bytes().size());
    writer.Commit();
  } catch (const AppError&) {
    throw IniWriteError(path_);
  }
}

std::string IniFile::ReadString(const char* key, const std::string& fallback) {
  const std::optional<std::string> bytes = text_.Value(SettingsSection, key);
  if (!bytes) return fallback;
  KeptValue& kept = kept_[key];
  kept.bytes = *bytes;
  kept.text = AnsiToUtf8(std::string_view(*bytes).substr(0, ValueMaxBytes));
  return kept.text;
}

void IniFile::WriteString(const char* key, const std::string& value) {
  const auto kept = kept_.find(key);
  const bool unchanged = kept != kept_.end() && kept->second.text == value;
  const std::string bytes = unchanged ? kept->second.bytes : Utf8ToAnsi(value);
  text_.SetValue(SettingsSection, key, bytes);
  kept_[key] = {bytes, value};
}

}  // namespace kmrn
