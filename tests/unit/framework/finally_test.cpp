#include "framework/finally.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace kmrn {
namespace {

TEST(RunThenAlways, RunsTheCleanUpAfterASuccessfulAction) {
  std::string order;
  RunThenAlways([&] { order += "action "; }, [&] { order += "cleanup"; });
  EXPECT_EQ(order, "action cleanup");
}

TEST(RunThenAlways, RunsTheCleanUpAfterAFailureAndPassesTheFailureOn) {
  std::string order;
  try {
    RunThenAlways(
        [&] {
          order += "action ";
          throw std::runtime_error("cannot write");
        },
        [&] { order += "cleanup"; });
    ADD_FAILURE() << "the failure was swallowed";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "cannot write");
  }
  EXPECT_EQ(order, "action cleanup");
}

TEST(RunThenAlways, AFailingCleanUpIsReportedWhenTheActionSucceeded) {
  EXPECT_THROW(RunThenAlways([] {}, [] { throw std::logic_error("cleanup"); }), std::logic_error);
}

TEST(RunThenAlways, AFailingCleanUpIsReportedInsteadOfTheActionsFailure) {
  // Two failures cannot both be passed on; the later one is, and neither ends the program.
  EXPECT_THROW(RunThenAlways([] { throw std::runtime_error("action"); }, [] { throw std::logic_error("cleanup"); }),
               std::logic_error);
}

}  // namespace
}  // namespace kmrn
