// The services that differ between Linux and the browser, for Linux.
#include "host/platform.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <vector>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

std::string ProgramPath() {
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return std::string();
    return std::string(buffer.data(), size_t(n));
}

// The child forks the handler and leaves at once, so the handler is adopted
// by init and never lingers as our zombie.
bool OpenUrl(const std::string& url) {
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        if (fork() == 0) {
            char* const args[] = {const_cast<char*>("xdg-open"), const_cast<char*>(url.c_str()), nullptr};
            execvp(args[0], args);
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    return true;
}

void SleepMs(int ms) {
    if (ms <= 0) return;
    timespec wait = {ms / 1000, long(ms % 1000) * 1000000L};
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &wait, &wait) == EINTR) {}
}

void ReleaseFreeMemory() {
    malloc_trim(0);
}

bool FlushFile(int fd) {
    return fsync(fd) == 0;
}

// ReplaceFile has flushed every file it wrote to the disk already.
void SyncStorage() {}

}  // namespace platform
