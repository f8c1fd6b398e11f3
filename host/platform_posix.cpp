// The services Linux and the browser share: POSIX files, and the working
// folder as the place of the player's saves.
#include "host/platform.h"

#include <cerrno>
#include <climits>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::string WorkingFolder() {
    std::vector<char> buffer(PATH_MAX + 1);
    return getcwd(buffer.data(), buffer.size()) ? std::string(buffer.data()) : std::string();
}

// The Linux launcher starts the game in the player's data folder, and the
// page mounts its storage as the working folder: the game stays where it is.
std::string PlayersFolder() {
    return std::string();
}

const char* PlayersFolderNote() {
    return "(the file .vantlestate in the folder the game starts in; the glimmerdeep\n"
           "command starts it in $XDG_DATA_HOME/glimmerdeep, by default\n"
           "~/.local/share/glimmerdeep).\n";
}

bool EnterPlayersFolder(std::string*) {
    return true;
}

// Standard output is the terminal's or the caller's already.
void AttachOutput() {}

bool LocalTime(std::time_t t, std::tm* local) {
    return localtime_r(&t, local) != nullptr;
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
    bool written = write_all(fd, bytes, length) && FlushFile(fd);
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
        FlushFile(dir);
        close(dir);
    }
    return 0;
}

}  // namespace platform
