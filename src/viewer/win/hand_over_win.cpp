#include "viewer/win/hand_over_win.h"

#include <windows.h>

#include <vector>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "framework/win/text_win.h"
#include "framework/win/unique_resource.h"
#include "framework/win/win32_error.h"
#include "picture/image_files.h"
#include "picture/win/base_file_name_win.h"
#include "viewer/editor_command.h"

namespace kmrn {
namespace {

// "...\Temp\Kamerin", made when it is missing.
std::string HandOverFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  std::wstring folder(temp, length);
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  folder += L"\\Kamerin";
  CreateDirectoryW(folder.c_str(), nullptr);
  return Narrow(folder);
}

bool IsFile(const std::string& path) { return PathExists(path) && !FolderExists(path); }

}  // namespace

HandOverPictures::~HandOverPictures() {
  for (const std::string& path : files_) DeleteFileW(Widen(path).c_str());
}

std::string HandOverPictures::Write(const Dib& picture) {
  const std::string path = MakeBaseFileNameIn(HandOverFolder(), {".bmp"}) + ".bmp";
  SaveBmp(picture, path);
  files_.push_back(path);
  return path;
}

std::string HandOverPictures::WritePng(const std::vector<std::uint8_t>& png) {
  const std::string path = MakeBaseFileNameIn(HandOverFolder(), {".png"}) + ".png";
  WriteWholeFile(path, png);
  files_.push_back(path);
  return path;
}

void StartEditor(const std::string& openApplication, const std::string& picturePath) {
  const std::string commandLine = EditorCommandLine(openApplication, picturePath, IsFile);
  std::wstring mutableLine = Widen(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    const std::string reason = LastSystemError("CreateProcessW").what();
    throw ProgramStartError(openApplication, reason);
  }
  UniqueHandle thread(process.hThread);
  UniqueHandle started(process.hProcess);
}

}  // namespace kmrn
