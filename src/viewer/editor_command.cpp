#include "viewer/editor_command.h"

namespace kmrn {

std::string EditorCommandLine(std::string_view openApplication, std::string_view picturePath,
                              const std::function<bool(const std::string&)>& fileExists) {
  std::string editor(openApplication);
  const bool quoted = editor.find('"') != std::string::npos;
  if (!quoted && editor.find(' ') != std::string::npos && fileExists(editor)) editor = "\"" + editor + "\"";
  editor.append(" \"").append(picturePath).append("\"");
  return editor;
}

}  // namespace kmrn
