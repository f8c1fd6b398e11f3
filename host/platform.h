// The few operating-system services the host needs, for Linux.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// Full path of the running program file, UTF-8; empty when unknown.
std::string ProgramPath();

// Opens a file by its UTF-8 path.
FILE* OpenFile(const std::string& path, const char* mode);

// Starts the desktop's handler for a web address or file, without a shell and
// without waiting for it.
bool OpenUrl(const std::string& url);

// Blocks the thread for whole milliseconds, on the monotonic clock.
void SleepMs(int ms);

// Replaces `path` with exactly `bytes`, never leaving a partial file:
// 0 on success, -1 when the new content cannot be created or put in place,
// -2 when it cannot be written in full.
int ReplaceFile(const std::string& path, const char* bytes, size_t length);

// Gives the pages of freed memory back to the system: the decoders leave
// many megabytes of it between the blocks that stay.
void ReleaseFreeMemory();

}  // namespace platform
