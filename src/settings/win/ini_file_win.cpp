#include "settings/win/ini_file_win.h"

#include <windows.h>

#include "framework/app_error.h"
#include "framework/win/text_win.h"

namespace kmrn {
namespace {

// Values of 2048 bytes or more come back cut to 2047, as the profile functions deliver them
// into this buffer.
constexpr DWORD ValueBufferSize = 2048;

}  // namespace

IniFile IniFile::ForThisProgram() {
  char exePath[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, exePath, MAX_PATH);
  return IniFile(IniPathForExecutable(exePath));
}

IniFile::~IniFile() {
  if (!ansiPath_.empty()) WritePrivateProfileStringA(nullptr, nullptr, nullptr, ansiPath_.c_str());
}

std::string IniFile::ReadString(const char* key, const std::string& fallback) {
  char value[ValueBufferSize] = {};
  GetPrivateProfileStringA(SettingsSection, key, Utf8ToAnsi(fallback).c_str(), value, ValueBufferSize,
                           ansiPath_.c_str());
  return AnsiToUtf8(value);
}

void IniFile::WriteString(const char* key, const std::string& value) {
  if (!WritePrivateProfileStringA(SettingsSection, key, Utf8ToAnsi(value).c_str(), ansiPath_.c_str())) {
    throw IniWriteError(AnsiToUtf8(ansiPath_));
  }
}

SettingsFile LoadSettingsFile(const std::string& appDir) {
  IniFile ini = IniFile::ForThisProgram();
  return ReadSettingsFile(ini, appDir);
}

void SaveSettingsFile(const SettingsFile& file) {
  IniFile ini = IniFile::ForThisProgram();
  WriteSettingsFile(ini, file);
}

}  // namespace kmrn
