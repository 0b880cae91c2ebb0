#pragma once
// A long day of use, compressed: Kamerin is worked through captures in every mode (PrintScreen
// and Ctrl+PrintScreen, the Capture button over a range and at the same place again), each
// making a viewer that is zoomed, turned, saved or copied and later closed, with the settings
// dialog opened and confirmed now and then, and a picture pinned from the clipboard, closed and
// brought back every fifth capture. After every so many captures the program's resource
// use is read from outside.

#include <functional>

#include "resource_use.h"

namespace e2e {

struct SoakFigures {
  int captures = 0;
  ResourceUse use;
};

// Runs `captures` captures, reporting after every `every`. Stops early (and says why through
// the returned text) when the program does not answer as expected; empty when all went through.
std::string RunSoak(int captures, int every, const std::function<void(const SoakFigures&)>& report);

// What the closed viewers the program keeps cost in its memory, against the pictures as captured:
// whole-screen captures of a real screen (bench/screens/text.png, shown full-screen by the driver)
// closed one after another, the private bytes read before and after. Empty, or what went wrong.
std::string MeasureClosedViewerCost(double& costToCapture);

}  // namespace e2e
