#pragma once
// Handing a picture to the external image editor: the picture goes to a file of its own in a
// folder of the program's under the user's temporary folder (never over a file of the user's), the
// editor is started on it, and the files this run handed over are deleted when the program ends.

#include <cstdint>
#include <string>
#include <vector>

#include "picture/dib.h"

namespace kmrn {

// The files handed over: deleted when the record goes, at the program's end.
class HandOverPictures {
 public:
  HandOverPictures() = default;
  ~HandOverPictures();
  HandOverPictures(const HandOverPictures&) = delete;
  HandOverPictures& operator=(const HandOverPictures&) = delete;

  // Writes the picture as BMP and returns the file's full path. Throws FileCreateError.
  std::string Write(const Dib& picture);
  // Writes an encoded PNG under a capture's name ("YYYYMMDD_hhmmss.png"), for a picture dragged
  // out: a folder it is dropped on gets it under that name. Returns its full path.
  std::string WritePng(const std::vector<std::uint8_t>& png);

 private:
  std::vector<std::string> files_;
};

// Starts OpenApplication on the file (the command line of EditorCommandLine), through the
// Unicode API so that any path works. Throws ProgramStartError when it cannot be started.
void StartEditor(const std::string& openApplication, const std::string& picturePath);

}  // namespace kmrn
