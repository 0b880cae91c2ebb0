#pragma once
// Dragging a picture out of the program with the system's drag and drop: the program it is
// dropped on takes whichever form it reads, a file (a folder or an upload area), the bitmap or the
// PNG (a document, a chat).

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kmrn {

struct DraggedPicture {
  std::string file;               // a file that holds the picture (CF_HDROP), UTF-8
  std::vector<std::uint8_t> dib;  // the picture as a packed DIB (CF_DIB)
  std::vector<std::uint8_t> png;  // the registered "PNG" format
};

// Runs the drag from the current mouse position until the left button is let go (a drop) or Esc
// is pressed. Returns what the drop target did (DROPEFFECT_COPY, or DROPEFFECT_NONE when nothing
// took it). Needs OLE initialised on this thread.
DWORD DragPictureOut(const DraggedPicture& picture);

}  // namespace kmrn
