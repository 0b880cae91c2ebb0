#include "shell/second_start.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

TEST(SecondStart, EndsQuietlyWithoutAFileWaitsForTheRunningCopyAndReportsOnlyAfterTheWait) {
  EXPECT_EQ(NextSecondStartStep(false, false, 0), SecondStartStep::End);
  EXPECT_EQ(NextSecondStartStep(true, true, 0), SecondStartStep::End);
  EXPECT_EQ(NextSecondStartStep(true, false, 0), SecondStartStep::WaitAgain);
  EXPECT_EQ(NextSecondStartStep(true, false, RunningCopyWaitMs), SecondStartStep::WaitAgain);
  EXPECT_EQ(NextSecondStartStep(true, false, RunningCopyWaitMs + 1), SecondStartStep::ReportNotTaken);
  // Taken on the last try, however late: nothing to report.
  EXPECT_EQ(NextSecondStartStep(true, true, RunningCopyWaitMs + 40), SecondStartStep::End);
}

}  // namespace
}  // namespace kmrn
