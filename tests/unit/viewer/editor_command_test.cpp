#include "viewer/editor_command.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

TEST(EditorCommand, QuotesThePictureAndAnEditorPathWithBlanksThatExists) {
  const std::string tool = "C:\\Program Files\\Tool\\tool.exe";
  auto exists = [&](const std::string& path) { return path == tool; };
  const char* picture = "C:\\Users\\me\\Temp\\Kamerin\\20261208_101500.bmp";
  const struct {
    std::string openApplication;
    std::string commandLine;
  } kCases[] = {
      {"mspaint.exe", "mspaint.exe \"" + std::string(picture) + "\""},
      {tool, "\"" + tool + "\" \"" + picture + "\""},
      {"\"" + tool + "\" /edit", "\"" + tool + "\" /edit \"" + picture + "\""},  // as the user quoted it
      {"tool.exe /edit", "tool.exe /edit \"" + std::string(picture) + "\""},     // blanks before arguments
      {"C:\\Program Files\\Gone\\x.exe", "C:\\Program Files\\Gone\\x.exe \"" + std::string(picture) + "\""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.openApplication);
    EXPECT_EQ(EditorCommandLine(c.openApplication, picture, exists), c.commandLine);
  }
}

}  // namespace
}  // namespace kmrn
