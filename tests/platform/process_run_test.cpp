#include <gtest/gtest.h>

#include <chrono>

#include "platform/process_run.h"

using namespace tavoe;

namespace {

double SecondsToRun(const std::vector<std::string>& argv, const ProcessOptions& options,
                    ProcessResult& result) {
    auto start = std::chrono::steady_clock::now();
    result = RunProcess(argv, options);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

// Words reach the program as they are, and its exit code comes back.
TEST(RunProcess, PassesWordsIntactAndReturnsTheExitCode) {
    ProcessOptions options;
    options.output = ChildStream::Capture;
    ProcessResult run =
        RunProcess({"/bin/sh", "-c", "printf '%s|' \"$@\"; exit 3", "sh", "a b", "'q'", "-x"}, options);
    EXPECT_TRUE(run.started);
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_EQ(run.output, "a b|'q'|-x|");

    ProcessResult missing = RunProcess({"/nonexistent/program"}, options);
    EXPECT_FALSE(missing.started);
    EXPECT_NE(missing.errorCode, 0);
}

// A program that hangs is stopped at the deadline with everything it started, and what it wrote
// before is kept; one that ends in time is not touched.
TEST(RunProcess, TimeoutStopsAHungProgramAndItsGroup) {
    ProcessOptions options;
    options.output = ChildStream::Capture;
    options.timeoutMilliseconds = 300;
    ProcessResult run;
    double seconds = SecondsToRun({"/bin/sh", "-c", "echo started; sleep 30 & sleep 30; wait"}, options, run);
    EXPECT_LT(seconds, 10.0);
    EXPECT_EQ(run.exitStatus, 128 + 9);
    EXPECT_EQ(run.output, "started\n");

    options.output = ChildStream::Null;
    seconds = SecondsToRun({"/bin/sh", "-c", "sleep 30"}, options, run);
    EXPECT_LT(seconds, 10.0);
    EXPECT_EQ(run.exitStatus, 128 + 9);

    options.timeoutMilliseconds = 5000;
    seconds = SecondsToRun({"/bin/sh", "-c", "exit 0"}, options, run);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_LT(seconds, 5.0);
}
