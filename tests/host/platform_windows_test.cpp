// The Windows platform layer on real files, folders, the environment and the
// registry's protocol handlers, run under Wine.
#include <windows.h>
// windows.h's names for its own calls, which the platform layer shares.
#undef ReplaceFile

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "host/platform.h"
#include "tests/harness/environment.h"
#include "tests/harness/files.h"
#include "tests/harness/scratch.h"

namespace fs = std::filesystem;

namespace {

std::string Utf8(const fs::path& path) {
    return path.u8string();
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().u8string());
    return names;
}

// A folder of a test's own, named in three scripts, entered for the test.
class WindowsPlatform : public ::testing::Test {
protected:
    ScratchFolder scratch{"platform"};
    fs::path folder = scratch / fs::u8path(u8"Tauchér 深海 Ωμέγα");
    std::wstring appdata = _wgetenv(L"APPDATA") ? _wgetenv(L"APPDATA") : L"";

    void SetUp() override {
        fs::create_directories(folder);
        scratch.Enter();
    }
    void TearDown() override {
        _wputenv_s(L"APPDATA", appdata.c_str());
        scratch.Leave();
    }
    // Through the wide environment: a user's folder may be named in any
    // script, which the narrow one would garble.
    static void SetAppData(const fs::path& path) { _wputenv_s(L"APPDATA", path.wstring().c_str()); }
};

TEST_F(WindowsPlatform, FilesAndFoldersOfAnyNameAreReachedByTheirUtf8Paths) {
    std::ofstream(folder / "note.txt", std::ios::binary) << "caf\xC3\xA9";
    FILE* f = platform::OpenFile(Utf8(folder / "note.txt"), "rb");
    ASSERT_NE(f, nullptr);
    char text[16] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text, f), 5u);
    std::fclose(f);
    EXPECT_EQ(std::string(text), "caf\xC3\xA9");

    const std::string state = Utf8(folder / ".vantlestate");
    ASSERT_EQ(platform::ReplaceFile(state, "first", 5), 0);
    ASSERT_EQ(platform::ReplaceFile(state, "second", 6), 0);
    EXPECT_EQ(ReadFile(folder / ".vantlestate"), "second");
    EXPECT_EQ(Names(folder), (std::vector<std::string>{".vantlestate", "note.txt"})) << "nothing left beside";

    fs::current_path(folder);
    EXPECT_EQ(platform::WorkingFolder(), Utf8(fs::current_path()));

    // A NUL would cut the name short below: such a path opens nothing.
    EXPECT_EQ(platform::OpenFile(std::string("note.txt\0.exe", 13), "rb"), nullptr);
    EXPECT_EQ(platform::OpenFile("", "rb"), nullptr);
    EXPECT_EQ(platform::OpenFile(Utf8(folder / "missing.txt"), "rb"), nullptr);
}

// What cannot be put in place fails whole: the old content or nothing, and
// no file of the attempt left behind.
TEST_F(WindowsPlatform, AReplacementThatCannotBeMadeLeavesWhatWasThere) {
    fs::create_directory(folder / "taken");
    std::ofstream(folder / "taken" / "keep", std::ios::binary) << "kept";
    EXPECT_EQ(platform::ReplaceFile(Utf8(folder / "taken"), "state", 5), -1) << "a folder of that name";
    EXPECT_EQ(ReadFile(folder / "taken" / "keep"), "kept");
    EXPECT_EQ(platform::ReplaceFile(Utf8(folder / "no such folder" / "state"), "state", 5), -1);
    EXPECT_EQ(Names(folder), std::vector<std::string>{"taken"});
}

// The player's folder is Glimmerdeep in %APPDATA%, made when missing and
// entered; where it cannot be, the working folder stays and the reason is
// given.
TEST_F(WindowsPlatform, PlayersFolderIsGlimmerdeepInTheRoamingApplicationData) {
    const fs::path roaming = folder / "Roaming";
    fs::create_directory(roaming);
    SetAppData(roaming);
    EXPECT_EQ(platform::PlayersFolder(), Utf8(roaming) + "\\Glimmerdeep");
    std::string why;
    for (int time = 0; time < 2; ++time) {  // made, then found
        ASSERT_TRUE(platform::EnterPlayersFolder(&why)) << why;
        EXPECT_TRUE(fs::is_directory(roaming / "Glimmerdeep"));
        EXPECT_EQ(platform::WorkingFolder(), platform::PlayersFolder());
        fs::current_path(scratch.path());
    }

    struct Case {
        const char* what;
        fs::path appdata;
        const char* reason;
    } cases[] = {
        {"a data folder that does not exist", folder / "gone" / "Roaming", "cannot make "},
        {"a file where the folder should be", folder, "cannot use "},
    };
    std::ofstream(folder / "Glimmerdeep") << "a file";
    for (const Case& c : cases) {
        SetAppData(c.appdata);
        why.clear();
        EXPECT_FALSE(platform::EnterPlayersFolder(&why)) << c.what;
        EXPECT_EQ(why.rfind(c.reason, 0), 0u) << c.what << ": " << why;
        EXPECT_EQ(fs::current_path(), scratch.path()) << c.what;
    }

    // Without the variable, the system's own folder for it.
    UnsetEnv("APPDATA");
    const std::string known = platform::PlayersFolder();
    EXPECT_NE(known.find("AppData\\Roaming\\Glimmerdeep"), std::string::npos) << known;
}

// The shell's "open" verb reaches the handler registered for the address's
// scheme, with the address whole. (The
// scheme is registered for the machine: Wine reads no user's own.)
TEST_F(WindowsPlatform, OpenUrlHandsTheAddressToTheHandlerOfItsScheme) {
    const wchar_t* key = L"glimmerdeep-test";
    const fs::path record = scratch / "url.txt";
    const std::wstring command = L"cmd.exe /c echo %1>" + record.wstring();
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key, L"URL Protocol", REG_SZ, L"", sizeof(wchar_t)), ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, (std::wstring(key) + L"\\shell\\open\\command").c_str(), nullptr,
                              REG_SZ, command.c_str(), DWORD((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const std::string url = "glimmerdeep-test://cave/sonar?depth=3";
    EXPECT_TRUE(platform::OpenUrl(url));
    std::string got;
    for (int i = 0; i < 200 && got.find('\n') == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        got = fs::exists(record) ? ReadFile(record) : "";
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    EXPECT_EQ(got, url + "\r\n");

    EXPECT_FALSE(platform::OpenUrl(""));
    EXPECT_FALSE(platform::OpenUrl(std::string("https://example.invalid/\0calc", 30)));
}

TEST(WindowsPlatformTime, LocalTimeIsTheCalendarsOwn) {
    std::tm local{};
    ASSERT_TRUE(platform::LocalTime(std::time_t(0) + 86400 * 365, &local));
    EXPECT_EQ(local.tm_year + 1900, 1971);
    EXPECT_TRUE(local.tm_yday == 0 || local.tm_yday == 364) << "a day either side, by time zone";
}

}  // namespace
