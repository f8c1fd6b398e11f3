#include "host/platform.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <vector>

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

std::string ProgramPath() {
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return std::string();
    return std::string(buffer.data(), size_t(n));
}

FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
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

static bool write_all(int fd, const char* bytes, size_t length) {
    while (length > 0) {
        ssize_t n = write(fd, bytes, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        length -= size_t(n);
    }
    return true;
}

// The new content goes to a temporary file beside the old one, is flushed to
// the disk, and only then renamed over it: a crash or a full disk at any
// moment leaves either the old file or the new one, whole.
int ReplaceFile(const std::string& path, const char* bytes, size_t length) {
    std::string temp = path + ".XXXXXX";
    int fd = mkstemp(&temp[0]);
    if (fd < 0) return -1;
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    bool written = write_all(fd, bytes, length) && fsync(fd) == 0;
    if (close(fd) != 0) written = false;
    if (!written) {
        unlink(temp.c_str());
        return -2;
    }
    if (rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return -1;
    }
    std::string folder = path.find('/') == std::string::npos ? "." : path.substr(0, path.rfind('/') + 1);
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return 0;
}

void ReleaseFreeMemory() {
    malloc_trim(0);
}

}  // namespace platform
