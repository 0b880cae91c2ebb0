#include "settings/win/ini_file_win.h"

#include <windows.h>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "framework/win/text_win.h"

namespace kmrn {
namespace {

std::string ExecutablePath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return Narrow(path);
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)), profile_(AnsiToUtf8, Utf8ToAnsi) {}

IniFile IniFile::ForThisProgram() { return IniFile(IniPathForExecutable(ExecutablePath())); }

SettingsFile IniFile::Load(const std::string& appDir) {
  // Loading never creates the file; one that cannot be read gives the defaults.
  profile_.SetBytes({});
  if (PathExists(path_)) {
    try {
      const std::vector<std::uint8_t> bytes = ReadWholeFile(path_);
      profile_.SetBytes(std::string(bytes.begin(), bytes.end()));
    } catch (const AppError&) {
    }
  }
  return ReadSettingsFile(profile_, appDir);
}

void IniFile::Save(const SettingsFile& file) {
  // What is on disk now, with whatever else has changed it since the start; a file that exists
  // but cannot be read is not replaced, or its other contents would be lost.
  try {
    profile_.SetBytes({});
    if (PathExists(path_)) {
      const std::vector<std::uint8_t> bytes = ReadWholeFile(path_);
      profile_.SetBytes(std::string(bytes.begin(), bytes.end()));
    }
    WriteSettingsFile(profile_, file);
    AtomicFileWriter writer(path_);
    writer.Write(profile_.Bytes().data(), profile_.Bytes().size());
    writer.Commit();
  } catch (const FileError& error) {
    throw IniWriteError(path_, error.Reason());
  } catch (const AppError&) {
    throw IniWriteError(path_);
  }
}

}  // namespace kmrn
