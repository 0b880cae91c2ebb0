#pragma once
// Scaffolding shared by the unit tests: the text of the program's error an action ends in, UTF-8
// paths, and a scratch folder of its own for each test.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "framework/app_error.h"

namespace kmrn::testing {

namespace fs = std::filesystem;

// The message of the AppError the action throws, or "(no error)".
template <typename F>
std::string ErrorOf(F&& action) {
  try {
    action();
  } catch (const AppError& e) {
    return e.what();
  }
  return "(no error)";
}

// The program's text of a failed file operation, followed on its own line by the system's reason
// (the failed call, its text and its code), which differs between systems.
inline ::testing::AssertionResult IsFileErrorWithReason(const std::string& text, const AppError& expected) {
  const std::string head = std::string(expected.what()) + "\r\n";
  if (text.rfind(head, 0) == 0 && text.find(" が失敗しました", head.size()) != std::string::npos &&
      text.find("(エラー ", head.size()) != std::string::npos) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "\"" << text << "\" is not \"" << expected.what() << "\" with a reason";
}

inline std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

inline fs::path PathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

// A fresh folder for each test, removed afterwards.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("kamerin-test-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  // The UTF-8 path of a file in the folder.
  std::string PathIn(const std::string& name) const { return Utf8(folder_ / name); }
  std::vector<std::string> FilesInFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(Utf8(entry.path().filename()));
    return names;
  }

  fs::path folder_;
};

}  // namespace kmrn::testing
