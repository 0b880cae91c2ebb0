#include "picture/base_file_name.h"

#include <cstdio>

namespace kmrn {

std::string FormatBaseFileName(const std::string& folder, const LocalTime& t) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "\\%.4d%.2d%.2d_%.2d%.2d%.2d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return folder + stamp;
}

std::string MakeUniqueBaseFileName(const std::string& folder, const LocalTime& time,
                                   std::initializer_list<std::string_view> extensions,
                                   const std::function<bool(const std::string&)>& exists) {
  const std::string plain = FormatBaseFileName(folder, time);
  auto taken = [&](const std::string& base) {
    for (std::string_view extension : extensions) {
      if (exists(base + std::string(extension))) return true;
    }
    return false;
  };
  std::string candidate = plain;
  for (int suffix = 2; taken(candidate); ++suffix) candidate = plain + "_" + std::to_string(suffix);
  return candidate;
}

}  // namespace kmrn
