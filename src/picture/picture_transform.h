#pragma once
// The viewer's edit commands on a picture: exact mirrors (every pixel moves, none is resampled,
// the depth stays) and the quarter turn clockwise (to 24 bits).

#include "picture/dib.h"

namespace kmrn {

// Column x becomes column width - 1 - x.
void MirrorLeftRight(Dib& picture);

// Row y becomes row height - 1 - y.
void MirrorTopBottom(Dib& picture);

// The picture turned 90 degrees clockwise, at 24 bits: source pixel (x, y) lands at column
// height - 1 - y of row x, so the top-left pixel ends at the top right. Throws ImageTooLargeError
// when the turned picture cannot be held.
Dib RotateClockwise(const Dib& picture);

// The picture enlarged by a whole factor, each pixel repeated into a factor x factor square, at
// its own depth (8, 16, 24 or 32 bits). Throws ImageTooLargeError when the result cannot be held.
Dib RepeatPixels(const Dib& picture, int factor);

}  // namespace kmrn
