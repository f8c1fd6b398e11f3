// Host services where only Linux can set up the fault: a file-size limit, a
// working folder removed under the program, a web-address handler on the PATH.
#include <csignal>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/harness/files.h"
#include "tests/harness/test_roots.h"
#include "tests/host/services_fixture.h"

namespace {

// Linux's file-size limit makes a write fall short on demand.
TEST_F(Services, ShortWriteKeepsThePreviousStateWhole) {
    ASSERT_EQ(host->SaveState(text("previous state")), 0);
    // A file-size limit makes the write fall short; run it in a child so the
    // limit stays there.
    pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {8, 8};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(10 + host->SaveState(text(std::string(4000, 'x'))));
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 10 - 2);
    EXPECT_EQ(ReadFile(".vantlestate"), "previous state");
    EXPECT_EQ(Names(), std::vector<std::string>{".vantlestate"});
}

// Windows keeps a working folder from being removed.
TEST_F(Services, StateInAWorkingFolderThatIsGoneFailsHarmlessly) {
    fs::create_directory("gone");
    fs::current_path("gone");
    fs::remove(folder / "gone");
    EXPECT_EQ(host->SaveState(text("lost")), -1);
    fs::current_path(folder.path());
    EXPECT_TRUE(Names().empty());
}

// A stand-in handler on the PATH records what it was given. It waits for a
// signal file before writing, so the call must have returned without waiting
// for it, or the test would never create that file.
TEST_F(Services, OpenUrlStartsTheHandlerWithOneArgumentAndDoesNotWait) {
    fs::create_directory("bin");
    WriteFile("bin/xdg-open",
               "#!/bin/sh\n"
               "exec >/dev/null 2>&1\n"
               "PATH=/usr/bin:/bin\n"
               "here=$(dirname \"$0\")\n"
               "for i in $(seq 300); do [ -e \"$here/go\" ] && break; sleep 0.01; done\n"
               "[ -e \"$here/go\" ] || { echo 'the caller waited' > \"$here/args\"; exit; }\n"
               "printf '%s\\n' \"$#\" \"$1\" > \"$here/args\"\n");
    fs::permissions("bin/xdg-open", fs::perms::owner_all);
    std::string path = getenv("PATH");
    setenv("PATH", (folder / "bin").c_str(), 1);
    const char* url = "https://example.invalid/a b;$(touch pwned)&x=1";
    host->OpenUrl(text(url));
    setenv("PATH", path.c_str(), 1);

    WriteFile("bin/go", "");
    for (int i = 0; i < 500 && !fs::exists("bin/args"); ++i) usleep(10000);
    EXPECT_EQ(ReadFile("bin/args"), std::string("1\n") + url + "\n");
    EXPECT_FALSE(fs::exists("pwned"));
}

}  // namespace
