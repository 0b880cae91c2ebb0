#include "shell/second_start.h"

namespace kmrn {

SecondStartStep NextSecondStartStep(bool hasFile, bool handedOver, std::uint32_t waitedMs) {
  // Without a file there is nothing to hand over, and nothing to say.
  if (!hasFile || handedOver) return SecondStartStep::End;
  if (waitedMs > RunningCopyWaitMs) return SecondStartStep::ReportNotTaken;
  return SecondStartStep::WaitAgain;
}

}  // namespace kmrn
