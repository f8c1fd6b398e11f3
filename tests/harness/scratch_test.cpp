// The tests' scratch folders: where they are made, that entering and leaving
// restores the working folder, and that nothing of them stays behind.
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "tests/harness/environment.h"
#include "tests/harness/scratch.h"

namespace fs = std::filesystem;

namespace {

TEST(ScratchFolder, IsEnteredLeftAndRemovedWithWhatItHolds) {
    const fs::path start = fs::current_path();
    fs::path made;
    {
        ScratchFolder folder("scratch-test");
        made = folder.path();
        EXPECT_EQ(made.parent_path(), (TempFolder() / "").parent_path());
        EXPECT_EQ(made.filename().string().rfind("glimmerdeep-scratch-test-", 0), 0u) << made;
        ASSERT_TRUE(fs::is_directory(made));
        EXPECT_TRUE(fs::is_empty(made));

        folder.Enter();
        EXPECT_EQ(fs::current_path(), made);
        std::ofstream("state") << "x";
        EXPECT_TRUE(fs::exists(folder / "state"));
        folder.Leave();
        EXPECT_EQ(fs::current_path(), start);
        folder.Leave();
        EXPECT_EQ(fs::current_path(), start) << "leaving twice goes nowhere";

        ScratchFolder other("scratch-test");
        EXPECT_NE(other.path(), made) << "each is fresh";
        folder.Enter();  // and left by its end
    }
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_FALSE(fs::exists(made));
}

// A test that takes the rights away (a read-only state folder) still leaves
// nothing behind, however deep. (Run as root, who keeps every right, this
// shows only that the folder goes.)
TEST(ScratchFolder, IsRemovedEvenWhenMadeUnwritable) {
    fs::path made;
    {
        ScratchFolder folder("scratch-test");
        made = folder.path();
        fs::create_directories(folder / "a/b");
        std::ofstream(folder / "a/b/file") << "x";
        std::ofstream(folder / "a/file") << "x";
        fs::permissions(folder / "a/b", fs::perms::none);
        fs::permissions(folder / "a", fs::perms::owner_read | fs::perms::owner_exec);
        fs::permissions(made, fs::perms::owner_read);
    }
    EXPECT_FALSE(fs::exists(made));
}

TEST(ScratchFolder, ThatCannotBeMadeSaysWhy) {
    try {
        ScratchFolder folder("no/such/place");
        ADD_FAILURE() << "made " << folder.path();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("glimmerdeep-no/such/place-"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos) << e.what();
    }
}

}  // namespace
