#include "picture/win/base_file_name_win.h"

#include <windows.h>

#include "framework/file_system.h"
#include "picture/base_file_name.h"

namespace kmrn {

std::string MakeBaseFileNameIn(const std::string& folder, std::initializer_list<std::string_view> extensions) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const LocalTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  return MakeUniqueBaseFileName(folder, time, extensions, PathExists);
}

}  // namespace kmrn
