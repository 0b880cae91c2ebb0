#pragma once
// Names of the saved pictures: the save folder, a backslash, and the local time as
// YYYYMMDD_hhmmss. When that name is already taken for one of the files about to be written,
// "_2", "_3", ... is appended, so two saves in the same second never overwrite each other and
// the BMP and JPEG of one capture still share one base name.

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kmrn {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

std::string FormatBaseFileName(const std::string& folder, const LocalTime& time);

// The first free base name for files with these extensions (".bmp", ".jpg").
std::string MakeUniqueBaseFileName(const std::string& folder, const LocalTime& time,
                                   std::initializer_list<std::string_view> extensions,
                                   const std::function<bool(const std::string&)>& exists);

}  // namespace kmrn
