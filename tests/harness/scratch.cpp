#include "tests/harness/scratch.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>
#include <system_error>

#include "tests/harness/environment.h"

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

#ifdef _WIN32
// Windows has no mkdtemp: a random name in the user's temporary folder,
// taken only if nothing has it yet.
ScratchFolder::ScratchFolder(const std::string& label) {
    std::error_code error;
    const fs::path base = TempFolder();
    std::random_device random;
    fs::path name;
    for (int attempt = 0; attempt < 100 && !error; ++attempt) {
        name = base / ("glimmerdeep-" + label + "-" + std::to_string(random() % 1000000000u));
        if (fs::create_directory(name, error)) {
            path_ = name;
            return;
        }
    }
    throw std::runtime_error("cannot make a folder " + name.string() + ": " + error.message());
}
#else
ScratchFolder::ScratchFolder(const std::string& label) {
    std::string name = (TempFolder() / ("glimmerdeep-" + label + "-XXXXXX")).string();
    if (!mkdtemp(name.data()))
        throw std::runtime_error("cannot make a folder " + name + ": " + std::strerror(errno));
    path_ = name;
}
#endif

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
