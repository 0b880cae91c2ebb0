#pragma once
// Closing a viewer: whether a close request fades the window out first, and the fade's steps.

#include <cstdint>

namespace kmrn {

inline constexpr std::int32_t FadeStartAlpha = 255;
inline constexpr std::int32_t FadeAlphaStep = 20;

// What a close request does.
enum class CloseDecision {
  HideOnly,   // the program is ending (AppClosing): the window just goes, its slot stays as it is
  StartFade,  // start (or keep) the fade timer and refuse the close for now
  Final       // free the slot and hide the window
};

CloseDecision DecideViewerClose(bool appClosing, bool viewWinAlphaClose, bool fadeDone);

// One tick of the fade timer: either the next, lower alpha, or the end of the fade.
struct FadeTick {
  std::int32_t alpha;
  bool done;  // set FadeDone and close again
};
FadeTick AdvanceFade(std::int32_t alpha);

}  // namespace kmrn
