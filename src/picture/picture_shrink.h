#pragma once
// Shrinking a picture for a zoomed-out viewer. Each pixel of the smaller picture is the exact
// average of the area of the original it covers (a box filter), weighted by how much of each
// original pixel falls inside, so that thin lines and small text in a screenshot fade rather than
// drop out, and the result is the same on every system.

#include "framework/geometry.h"
#include "picture/dib.h"

namespace kmrn {

// The picture at the given size (each side at least 1). A 24-bit or standard 32-bit picture keeps
// its depth; any other depth comes out as 24 bits. Throws ImageTooLargeError beyond the limits.
Dib ShrinkByAveraging(const Dib& source, PixelSize size);

}  // namespace kmrn
