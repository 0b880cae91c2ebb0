#pragma once
// The command line that hands a picture to the external image editor (OpenApplication).

#include <functional>
#include <string>
#include <string_view>

namespace kmrn {

// The editor, then the picture's full path in quotes. An editor path with blanks that names an
// existing file is quoted, so that "C:\Program Files\Tool\tool.exe" runs that program; a value
// that already holds quotes, or blanks that stand before arguments, is left as the user wrote it.
std::string EditorCommandLine(std::string_view openApplication, std::string_view picturePath,
                              const std::function<bool(const std::string&)>& fileExists);

}  // namespace kmrn
