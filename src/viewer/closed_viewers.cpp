#include "viewer/closed_viewers.h"

namespace kmrn {

// With M the mirror left to right and R the clockwise quarter turn, a picture lies as R^q M^m.
// M R = R^-1 M, and the mirror top to bottom is R^2 M, which gives the rules below.
void ViewOrientation::Then(ViewerCommand command) {
  switch (command) {
    case ViewerCommand::RotateClockwise: quarterTurns = (quarterTurns + 1) % 4; break;
    case ViewerCommand::MirrorLeftRight:
      quarterTurns = (4 - quarterTurns) % 4;
      mirrored = !mirrored;
      break;
    case ViewerCommand::MirrorTopBottom:
      quarterTurns = (6 - quarterTurns) % 4;
      mirrored = !mirrored;
      break;
    default: break;
  }
}

}  // namespace kmrn
