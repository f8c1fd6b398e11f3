// A save cut short by the process being killed at any moment of it: the
// state file always holds one whole state, the one before or the new one.
#include <csignal>
#include <random>

#include <unistd.h>

#include <gtest/gtest.h>

#include "host/app.h"
#include "host/xrgame.h"
#include "shell/state.h"
#include "tests/harness/files.h"
#include "tests/harness/process.h"
#include "tests/harness/program_copy.h"
#include "tests/harness/scratch.h"
#include "tests/harness/state_file.h"
#include "tests/harness/test_roots.h"
#include "tests/reliability/save_states.h"

namespace fs = std::filesystem;

namespace {

// The two strings the saving program writes in turn, made by the same code
// in this process.
std::vector<std::string> SavedStrings() {
    ScratchFolder folder("reliability");
    folder.Enter();
    XrGame host;
    ResetModules();
    xr_app__game = &host;
    std::vector<std::string> saved;
    for (int which = 0; which < 2; ++which) {
        FillState(which);
        xr_ruvo_Save();
        saved.push_back(ReadFile(".vantlestate"));
    }
    xr_app__game = nullptr;
    return saved;
}

TEST(Reliability, KilledWhileSavingLeavesOneWholeState) {
    const std::vector<std::string> states = SavedStrings();
    ASSERT_TRUE(ParseState(states[0]).complete);
    ASSERT_TRUE(ParseState(states[1]).complete);
    ASSERT_NE(states[0].size(), states[1].size());

    ScratchFolder work("reliability");
    const fs::path file = work.path() / ".vantlestate";
    WriteFile(file, states[0]);
    std::mt19937 random(std::random_device{}());
    int seen[2] = {0, 0}, leftovers = 0;
    for (int round = 0; round < 50; ++round) {
        const int delayMs = std::uniform_int_distribution<int>(5, 400)(random);
        ProcessOptions options;
        options.workDir = work.path();
        options.timeoutSeconds = 10;
        options.whileRunning = [delayMs](pid_t pid) {
            usleep(useconds_t(delayMs) * 1000);
            kill(pid, SIGKILL);
        };
        ProcessResult r = RunProcess({SAVE_LOOP}, options);
        ASSERT_EQ(r.status, -SIGKILL) << r.out << r.err;

        const std::string now = ReadFile(file);
        const bool old = now == states[0], fresh = now == states[1];
        ASSERT_TRUE(old || fresh) << "round " << round << " after " << delayMs << " ms: " << now.size()
                                  << " bytes, not one of the two states";
        ++seen[fresh ? 1 : 0];
        // A save cut short may leave its temporary file beside the state;
        // the state itself is what counts.
        for (const std::string& name : Names(work.path())) {
            if (name == ".vantlestate") continue;
            EXPECT_EQ(name.rfind(".vantlestate.", 0), 0u) << name;
            fs::remove(work.path() / name);
            ++leftovers;
        }
    }
    std::printf("killed 50 times: %d left the first state, %d the second, %d temporary files left behind\n",
                seen[0], seen[1], leftovers);
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0) << "the kills came after saves, not only before the first";
}

}  // namespace
