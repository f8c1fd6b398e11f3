#include "tests/harness/scratch.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// A folder the test took the write or search right from cannot be emptied:
// give every folder under it back to its owner first.
void make_removable(const fs::path& folder) {
    std::error_code ignored;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ignored))
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) make_removable(entry.path());
}

}  // namespace

ScratchFolder::ScratchFolder(const std::string& label) {
    std::string name = "/tmp/glimmerdeep-" + label + "-XXXXXX";
    if (!mkdtemp(name.data()))
        throw std::runtime_error("cannot make a folder " + name + ": " + std::strerror(errno));
    path_ = name;
}

ScratchFolder::~ScratchFolder() {
    Leave();
    std::error_code ignored;
    make_removable(path_);
    fs::remove_all(path_, ignored);
}

void ScratchFolder::Enter() {
    if (previous_.empty()) previous_ = fs::current_path();
    fs::current_path(path_);
}

void ScratchFolder::Leave() {
    if (previous_.empty()) return;
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    previous_.clear();
}
