// The services of the host on Windows. Paths are UTF-8 everywhere above this
// layer and UTF-16 below it: every file and folder is reached through the
// wide-character calls, so that a folder of any name works.
#include "host/platform.h"

#include <cstdlib>
#include <cwchar>

#include <direct.h>
#include <io.h>
#include <malloc.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windows.h>

// windows.h names its own ReplaceFile, a macro for ReplaceFileW; ours is
// the platform layer's.
#undef ReplaceFile

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace platform {

namespace {

// A text with a NUL inside would name a different, shorter path below.
bool to_wide(const std::string& text, std::wstring* wide) {
    wide->clear();
    if (text.find('\0') != std::string::npos) return false;
    if (text.empty()) return true;
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    if (n <= 0) return false;
    wide->resize(size_t(n));
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &(*wide)[0], n);
    return true;
}

std::string to_utf8(const wchar_t* text, size_t length) {
    if (length == 0) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, int(length), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string utf8(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, int(length), &utf8[0], n, nullptr, nullptr);
    return utf8;
}

std::string to_utf8(const std::wstring& text) {
    return to_utf8(text.data(), text.size());
}

std::string error_text(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text ? to_utf8(text, n) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : message;
}

bool has_handle(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

bool write_all(HANDLE file, const char* bytes, size_t length) {
    while (length > 0) {
        const DWORD chunk = length > (1u << 30) ? (1u << 30) : DWORD(length);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        length -= written;
    }
    return true;
}

// Without a high-resolution timer, the system's timer period decides how
// late a sleep wakes: 15.6 ms by default, a whole frame at 60 a second. It is
// raised to 1 ms at the first such sleep and given back when the program ends.
void raise_timer_period() {
    static bool raised = false;
    if (raised) return;
    raised = true;
    timeBeginPeriod(1);
    std::atexit([] { timeEndPeriod(1); });
}

}  // namespace

std::string ProgramPath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, &buffer[0], DWORD(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return to_utf8(buffer.data(), n);
        if (buffer.size() >= 32768) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

FILE* OpenFile(const std::string& path, const char* mode) {
    std::wstring widePath, wideMode;
    if (path.empty() || !to_wide(path, &widePath) || !to_wide(mode, &wideMode)) return nullptr;
    return _wfopen(widePath.c_str(), wideMode.c_str());
}

std::string WorkingFolder() {
    wchar_t* folder = _wgetcwd(nullptr, 0);
    if (!folder) return std::string();
    std::string utf8 = to_utf8(folder, std::wcslen(folder));
    std::free(folder);
    return utf8;
}

std::string PlayersFolder() {
    std::wstring base;
    const wchar_t* appdata = _wgetenv(L"APPDATA");
    if (appdata && *appdata) {
        base = appdata;
    } else {
        wchar_t* known = nullptr;
        if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known))) base = known;
        CoTaskMemFree(known);
    }
    if (base.empty()) return std::string();
    if (base.back() != L'\\' && base.back() != L'/') base += L'\\';
    return to_utf8(base + L"Glimmerdeep");
}

const char* PlayersFolderNote() {
    return "(the file .vantlestate in the folder Glimmerdeep of your roaming application\n"
           "data, %APPDATA%\\Glimmerdeep, made when missing).\n";
}

bool EnterPlayersFolder(std::string* why) {
    const std::string folder = PlayersFolder();
    std::wstring wide;
    if (folder.empty() || !to_wide(folder, &wide)) {
        *why = "the folder for application data is unknown";
        return false;
    }
    if (!CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        *why = "cannot make " + folder + ": " + error_text(GetLastError());
        return false;
    }
    if (!SetCurrentDirectoryW(wide.c_str())) {
        *why = "cannot use " + folder + ": " + error_text(GetLastError());
        return false;
    }
    return true;
}

// A program without a console window gets no standard handles from a console
// it was started in; it borrows that console's, as console programs have it.
// Handles the caller redirected are its own already and stay.
void AttachOutput() {
    const bool out = has_handle(STD_OUTPUT_HANDLE), err = has_handle(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!out && std::freopen("CONOUT$", "w", stdout)) std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (!err && std::freopen("CONOUT$", "w", stderr)) std::setvbuf(stderr, nullptr, _IONBF, 0);
}

bool LocalTime(std::time_t t, std::tm* local) {
    return localtime_s(local, &t) == 0;
}

// The shell's "open" verb: the user's browser for a web address. Shell
// handlers may be COM objects, so COM is started on this thread first.
bool OpenUrl(const std::string& url) {
    std::wstring wide;
    if (url.empty() || !to_wide(url, &wide)) return false;
    static const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    (void)com;
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

// A high-resolution waitable timer wakes within a fraction of a millisecond
// of its time (Windows 10 1803 on); where there is none, Sleep with the timer
// period raised.
void SleepMs(int ms) {
    if (ms <= 0) return;
    static const HANDLE timer =
        CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (timer) {
        LARGE_INTEGER due;
        due.QuadPart = -LONGLONG(ms) * 10000;  // relative, in 100 ns
        if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) &&
            WaitForSingleObject(timer, INFINITE) == WAIT_OBJECT_0)
            return;
    }
    raise_timer_period();
    Sleep(DWORD(ms));
}

// The new content goes to a file of its own beside the old one, is flushed
// to the disk, and only then moved over it: a crash or a full disk at any
// moment leaves either the old file or the new one, whole.
int ReplaceFile(const std::string& path, const char* bytes, size_t length) {
    std::wstring target;
    if (path.empty() || !to_wide(path, &target)) return -1;
    std::wstring temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temp = target + L".new-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return -1;
    }
    if (file == INVALID_HANDLE_VALUE) return -1;
    bool written = write_all(file, bytes, length) && FlushFileBuffers(file);
    if (!CloseHandle(file)) written = false;
    if (!written) {
        DeleteFileW(temp.c_str());
        return -2;
    }
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        return -1;
    }
    return 0;
}

bool FlushFile(int fd) {
    return _commit(fd) == 0;
}

// ReplaceFile has flushed every file it wrote to the disk already.
void SyncStorage() {}

void ReleaseFreeMemory() {
    _heapmin();
}

}  // namespace platform
