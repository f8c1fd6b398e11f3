// The few operating-system services the host needs. File handling is POSIX
// and shared (platform.cpp); the rest is Linux's (platform_linux.cpp) or the
// browser's (platform_browser.cpp), one of which each build compiles.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// Full path of the running program file, UTF-8; empty when unknown. In the
// browser, the program's place in the page's file system, with the data
// folder beside it.
std::string ProgramPath();

// Opens a file by its UTF-8 path.
FILE* OpenFile(const std::string& path, const char* mode);

// Starts the desktop's handler for a web address or file, without a shell and
// without waiting for it; in the browser, opens the address in a new tab.
bool OpenUrl(const std::string& url);

// Blocks the thread for whole milliseconds, on the monotonic clock. In the
// browser the wait hands control back to the page, even for 0 ms: that is
// when it shows the frame and delivers input.
void SleepMs(int ms);

// Replaces `path` with exactly `bytes`, never leaving a partial file:
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

}  // namespace platform
