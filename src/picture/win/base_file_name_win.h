#pragma once
// The base name of the files a save is about to write, from the save folder and the local time.

#include <initializer_list>
#include <string>
#include <string_view>

namespace kmrn {

// The folder, a backslash and the local time as YYYYMMDD_hhmmss, with "_2", "_3" ... when a file
// of that name with one of the extensions exists already. Taken once per save action, so that all
// files of one action share it.
std::string MakeBaseFileNameIn(const std::string& folder, std::initializer_list<std::string_view> extensions);

}  // namespace kmrn
