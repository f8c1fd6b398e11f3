// Threads where only Linux can set up the fault: its address-space limit
// makes thread creation fail on demand; Windows has no such limit to set.
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/thread.h"
#include "tests/harness/environment.h"
#include "tests/harness/test_roots.h"

namespace {

long vm_size_bytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmSize:", 0) == 0) return std::stol(line.substr(7)) * 1024;
    return -1;
}

// Leaves too little address space for a thread's stack, then starts one.
void start_without_address_space() {
    dup2(STDERR_FILENO, STDOUT_FILENO);
    XrThread* t = new XrThread();
    long size = vm_size_bytes();
    rlimit limit;
    limit.rlim_cur = limit.rlim_max = rlim_t(size + 512 * 1024);
    if (size < 0 || setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(3);
    t->Start();
    std::_Exit(4);
}

// The process reports it on standard output (sent to standard error here,
// where the check can see it) and ends with status -1.
TEST(ThreadsDeathTest, ThreadThatCannotBeCreatedEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(start_without_address_space(), ::testing::ExitedWithCode(kFatalExitStatus), "CreateThread failed!");
}

}  // namespace
