#pragma once
// What the whole program knows about its own process: where it lives and how it was started.

#include <string>
#include <vector>

namespace kmrn {

struct ProgramContext {
  std::string appDir;                   // the executable's folder, no trailing backslash (UTF-8)
  std::vector<std::wstring> arguments;  // command-line arguments after the program name, as absolute paths
  bool lowColorDisplay = false;         // 8 bits per pixel or fewer, taken once at start
};

ProgramContext ReadProgramContext();

}  // namespace kmrn
