#include "viewer/viewer_fade.h"

namespace kmrn {

CloseDecision DecideViewerClose(bool appClosing, bool viewWinAlphaClose, bool fadeDone) {
  if (appClosing) return CloseDecision::HideOnly;
  if (viewWinAlphaClose && !fadeDone) return CloseDecision::StartFade;
  return CloseDecision::Final;
}

FadeTick AdvanceFade(std::int32_t alpha) {
  // From 255 the alpha passes 235, 215 ... 15; the step after that would go below zero.
  if (alpha < FadeAlphaStep) return {alpha, true};
  return {alpha - FadeAlphaStep, false};
}

}  // namespace kmrn
