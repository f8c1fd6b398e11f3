#include "tests/harness/environment.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

std::string ProgramFolder() {
#ifdef _WIN32
    wchar_t path[32768];
    const DWORD n = GetModuleFileNameW(nullptr, path, 32768);
    return fs::path(std::wstring(path, n)).parent_path().generic_u8string();
#else
    return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

fs::path TempFolder() {
#ifdef _WIN32
    return fs::temp_directory_path();
#else
    return "/tmp";
#endif
}
