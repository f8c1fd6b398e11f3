// The Windows platform layer on real files, folders, the environment and the
// registry's protocol handlers, run under Wine.
#include <windows.h>
// windows.h's names for its own calls, which the platform layer shares.
#undef ReplaceFile

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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

// A write that stops part-way, as on a full disk, fails with -2 and leaves
// the previous state whole. Windows gives a process no file-size limit, and
// a volume that fills needs one of the test's own (administrator rights on
// Windows, a Linux mount under Wine); so the system is made to refuse the
// write itself: the new content runs on into a page the process may not
// read, and WriteFile fails there after the first page, on a real file.
TEST_F(WindowsPlatform, AWriteThatFallsShortKeepsThePreviousStateWhole) {
    const std::string state = Utf8(folder / ".vantlestate");
    ASSERT_EQ(platform::ReplaceFile(state, "previous state", 14), 0);

    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    char* pages = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    std::fill(pages, pages + 2 * page, 'x');
    DWORD was = 0;
    ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &was));
    EXPECT_EQ(platform::ReplaceFile(state, pages, 2 * page), -2);
    VirtualFree(pages, 0, MEM_RELEASE);

    EXPECT_EQ(ReadFile(folder / ".vantlestate"), "previous state");
    EXPECT_EQ(Names(folder), std::vector<std::string>{".vantlestate"}) << "the unfinished file is gone";
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
// scheme, with the address whole, and returns without waiting for it: the
// handler writes what it was given only once a file appears that the test
// puts down after the call has returned. Had the call waited, the test puts
// it down after a minute anyway and fails. (The scheme is registered for the
// machine: Wine reads no user's own.)
TEST_F(WindowsPlatform, OpenUrlHandsTheAddressToTheHandlerOfItsSchemeAndDoesNotWait) {
    const wchar_t* key = L"glimmerdeep-test";
    const fs::path handler = scratch / "handler.cmd", go = scratch / "go", record = scratch / "url.txt";
    WriteFile(handler, "@echo off\r\n:wait\r\nif not exist " + go.string() + " goto wait\r\necho %~1>" +
                           record.string() + "\r\n");
    const std::wstring command = L"cmd.exe /c " + handler.wstring() + L" \"%1\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key, L"URL Protocol", REG_SZ, L"", sizeof(wchar_t)), ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, (std::wstring(key) + L"\\shell\\open\\command").c_str(), nullptr,
                              REG_SZ, command.c_str(), DWORD((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const std::string url = "glimmerdeep-test://cave/sonar?depth=3";
    std::mutex mutex;
    std::condition_variable ended;
    bool returned = false, opened = false;
    std::thread caller([&] {
        const bool ok = platform::OpenUrl(url);
        std::lock_guard<std::mutex> lock(mutex);
        opened = ok;
        returned = true;
        ended.notify_all();
    });
    bool returnedFirst = false;
    {
        std::unique_lock<std::mutex> lock(mutex);
        returnedFirst = ended.wait_for(lock, std::chrono::seconds(60), [&] { return returned; });
    }
    WriteFile(go, "");
    caller.join();
    EXPECT_TRUE(returnedFirst) << "the call waited for the handler";
    EXPECT_TRUE(opened);
    std::string got;
    for (int i = 0; i < 1200 && got.find('\n') == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        got = fs::exists(record) ? ReadFile(record) : "";
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    EXPECT_EQ(got, url + "\r\n");

    EXPECT_FALSE(platform::OpenUrl(""));
    EXPECT_FALSE(platform::OpenUrl(std::string("https://example.invalid/\0calc", 30)));
}

// A local time's calendar fields: year, month, day, hour, minute, second,
// weekday (0 Sunday), day of the year (0 the first), summer time (1 or 0).
std::vector<int> Calendar(const std::tm& t) {
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_wday, t.tm_yday, t.tm_isdst};
}

// Known instants in zones named through TZ, as the C runtime reads it (a
// name, the hours to add to reach UTC, and a summer-time name where the
// zone has one), against their calendar fields worked out by hand, whatever
// zone the machine is in; summer time by the United States' rules, the C
// runtime's for such a TZ. Then without TZ, as on a player's machine.
TEST(WindowsPlatformTime, LocalTimeIsTheZonesCalendar) {
    const char* set = std::getenv("TZ");
    const std::string before = set ? set : "";
    struct Restore {
        std::string tz;
        ~Restore() {
            SetEnv("TZ", tz.c_str());
            _tzset();
        }
    } restore{before};

    struct Case {
        const char* zone;
        std::time_t at;
        std::vector<int> calendar;
    } cases[] = {
        {"UTC0", 31536000, {1971, 1, 1, 0, 0, 0, 5, 0, 0}},           // 1971-01-01 00:00 UTC
        {"EST5", 31536000, {1970, 12, 31, 19, 0, 0, 4, 364, 0}},      // west of UTC: the day before
        {"JST-9", 31536000, {1971, 1, 1, 9, 0, 0, 5, 0, 0}},          // east of UTC
        {"NPT-5:45", 951825600, {2000, 2, 29, 17, 45, 0, 2, 59, 0}},  // 2000-02-29 12:00 UTC; a zone's minutes
        {"PST8PDT", 1625140800, {2021, 7, 1, 5, 0, 0, 4, 181, 1}},    // 2021-07-01 12:00 UTC, in summer time
        {"PST8PDT", 1610712000, {2021, 1, 15, 4, 0, 0, 5, 14, 0}},    // 2021-01-15 12:00 UTC, in winter
        {"EST5", 4102444800, {2099, 12, 31, 19, 0, 0, 4, 364, 0}},    // 2100-01-01 00:00 UTC, past 2038
    };
    for (const Case& c : cases) {
        SetEnv("TZ", c.zone);
        _tzset();
        std::tm local{};
        ASSERT_TRUE(platform::LocalTime(c.at, &local)) << c.zone << " " << c.at;
        EXPECT_EQ(Calendar(local), c.calendar) << c.zone << " " << c.at;
    }

    // Without TZ, the system's own zone, as Windows' own conversion of the
    // same instants gives it.
    UnsetEnv("TZ");
    _tzset();
    for (const Case& c : cases) {
        std::tm local{};
        ASSERT_TRUE(platform::LocalTime(c.at, &local));
        ULARGE_INTEGER ticks;  // 100 ns since 1601
        ticks.QuadPart = (ULONGLONG(c.at) + 11644473600ULL) * 10000000ULL;
        const FILETIME file = {ticks.LowPart, ticks.HighPart};
        SYSTEMTIME utc, zoned;
        ASSERT_TRUE(FileTimeToSystemTime(&file, &utc));
        ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &zoned));
        const std::vector<int> windows = {zoned.wYear, zoned.wMonth,  zoned.wDay,      zoned.wHour,
                                          zoned.wMinute, zoned.wSecond, zoned.wDayOfWeek};
        const std::vector<int> calendar = Calendar(local);
        EXPECT_EQ(std::vector<int>(calendar.begin(), calendar.begin() + 7), windows) << c.at;
    }
}

}  // namespace
