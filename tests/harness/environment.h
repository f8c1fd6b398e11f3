// Where Linux and Windows differ for the tests, in the same words on both:
// the process's environment, the program's own folder, local time, the null
// device, the scratch folders' parent and how a fatal end reads from outside.
// Tests use these rather than branching on the system themselves.
#pragma once

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

// Sets a variable of the process's environment, where the C runtime's own
// copy must change too (the DLLs of a Windows process read that one).
inline void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

// Removes a variable; on Windows an empty value does that.
inline void UnsetEnv(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

// The folder of this test program, with "/" between names, as the system
// tells it (not as the host works it out).
std::string ProgramFolder();

// The local time now, from the C runtime.
std::tm LocalNow();

// The file that reads as empty and swallows what is written.
#ifdef _WIN32
inline constexpr const char* kNullDevice = "NUL";
#else
inline constexpr const char* kNullDevice = "/dev/null";
#endif

// The status a process that ended with exit(-1), as a fatal runtime error
// does, shows to its parent: Windows keeps the whole value, POSIX its low
// byte.
#ifdef _WIN32
inline constexpr int kFatalExitStatus = -1;
#else
inline constexpr int kFatalExitStatus = 255;
#endif

// Where scratch folders are made: /tmp, or the user's temporary folder on
// Windows.
std::filesystem::path TempFolder();

// Wine stands in for Windows here: the Windows build's tests only ever run
// under it, which lists a display mode once for each colour depth.
#ifdef _WIN32
inline constexpr bool kUnderWine = true;
#else
inline constexpr bool kUnderWine = false;
#endif
