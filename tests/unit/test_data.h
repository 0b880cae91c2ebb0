#pragma once
// Where the shared sample pictures live: $KAMERIN_TESTDATA when set (the Wine run sets it to a
// Windows path), otherwise the folder beside the project.

#include <cstdlib>
#include <string>

inline std::string TestDataPath(const std::string& relative) {
  const char* env = std::getenv("KAMERIN_TESTDATA");
  std::string root = env && *env ? env : KAMERIN_TESTDATA_DIR;
  return root + "/" + relative;
}
