#pragma once
// A start that finds another copy running: with a file, it hands the file to that copy, which may
// still be starting, and waits for it a while; should that copy end meanwhile, this start takes
// the single-instance lock and becomes the running copy itself.

#include <cstdint>

namespace kmrn {

// How long a start with a file waits for the running copy to take it, and how often it tries.
inline constexpr std::uint32_t RunningCopyWaitMs = 10000;
inline constexpr std::uint32_t RunningCopyPollMs = 50;

enum class SecondStartStep {
  End,             // ends quietly: there was no file, or the running copy took it
  ReportNotTaken,  // no running copy took the file in time: reported, and the start fails
  WaitAgain,       // tries again after RunningCopyPollMs, unless the lock is free by then
};

// The step after one try while another copy holds the lock. handedOver: the running copy's main
// window was found and took the file; waitedMs: the time since the start began to try.
SecondStartStep NextSecondStartStep(bool hasFile, bool handedOver, std::uint32_t waitedMs);

}  // namespace kmrn
