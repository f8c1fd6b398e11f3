// The few operating-system services the host needs, one layer per system:
// Linux (platform_linux.cpp) and the browser (platform_browser.cpp) share
// their POSIX file handling (platform_posix.cpp); Windows has a layer of its
// own (platform_windows.cpp). Every path and text here is UTF-8.
#pragma once

#include <cstdio>
#include <ctime>
#include <string>

namespace platform {

// Full path of the running program file, UTF-8; empty when unknown. In the
// browser, the program's place in the page's file system, with the data
// folder beside it.
std::string ProgramPath();

// Opens a file by its UTF-8 path (on Windows through the path's UTF-16
// form, so that a folder of any name works).
FILE* OpenFile(const std::string& path, const char* mode);

// The current working folder; empty when unknown.
std::string WorkingFolder();

// Where the player's settings and scores are kept when the program is started
// as a player starts it: on Windows the folder Glimmerdeep in the roaming
// application data (%APPDATA%). Empty where the program keeps them in the
// folder it is started in (on Linux its launcher chooses that folder).
std::string PlayersFolder();

// Where the usage (--help) says the settings and scores are kept, in words a
// player of this system knows: a parenthesis, a full stop and a line break.
const char* PlayersFolderNote();

// The character between folder names in the system's own paths.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Makes PlayersFolder() when it is missing and the working folder; true when
// there is none. On failure, `why` says what went wrong and the working
// folder stays as it was.
bool EnterPlayersFolder(std::string* why);

// Lets the program's print lines and errors reach a console it was started
// from: a Windows program without a console window of its own has no output
// otherwise. Output already redirected to a file or a pipe is kept.
void AttachOutput();

// The local time of `t`; false when the system cannot give it.
bool LocalTime(std::time_t t, std::tm* local);

// Starts the desktop's handler for a web address or file, without a shell and
// without waiting for it; in the browser, opens the address in a new tab.
bool OpenUrl(const std::string& url);

// Blocks the thread for whole milliseconds, on the monotonic clock, to the
// millisecond (on Windows a high-resolution timer, where the default sleep
// would wake on the next 15.6 ms tick). In the browser the wait hands
// control back to the page, even for 0 ms: that is when it shows the frame
// and delivers input.
void SleepMs(int ms);

// Replaces `path` with exactly `bytes`, never leaving a partial file (the
// new content is written beside it, flushed, then moved over it in one step):
// 0 on success, -1 when the new content cannot be created or put in place,
// -2 when it cannot be written in full.
int ReplaceFile(const std::string& path, const char* bytes, size_t length);

// Flushes an open file or folder to the disk (ReplaceFile's step before
// renaming, and after it for the folder); in the browser this does nothing,
// see SyncStorage.
bool FlushFile(int fd);

// Makes what ReplaceFile wrote outlive the program. On Linux the file is on
// the disk already; the browser copies its working folder to the page's
// storage in the background, and a failure there is reported, never fatal.
void SyncStorage();

// Gives the pages of freed memory back to the system: the decoders leave
// many megabytes of it between the blocks that stay.
void ReleaseFreeMemory();

// What this build is made with, for the credits: its compiler, and the
// libraries under the host's window, input and sound, each in three lines
// (what, a joining phrase, who). In a web page the window, input and sound
// are Emscripten's, in the interfaces of GLFW and OpenAL.
#if defined(__EMSCRIPTEN__)
inline constexpr const char* kCompilerCredit = "Emscripten";
inline constexpr const char* kWindowCredit[3] = {"GLFW's interface", "for the web by", "the Emscripten authors"};
inline constexpr const char* kSoundCredit[3] = {"OpenAL's interface", "on Web Audio by", "the Emscripten authors"};
#else
#if defined(__clang__)
inline constexpr const char* kCompilerCredit = "Clang";
#else
inline constexpr const char* kCompilerCredit = "GCC";
#endif
inline constexpr const char* kWindowCredit[3] = {"GLFW", "by", "Marcus Geelnard and Camilla Loewy"};
inline constexpr const char* kSoundCredit[3] = {"OpenAL Soft", "by", "Chris Robinson and contributors"};
#endif

}  // namespace platform
