// Services the host offers the framework between frames: paths and files,
// the state file, decoded images and sounds, time and date, display modes,
// the cursor and web addresses.
#include <ctime>
#include <vector>

#include <sys/stat.h>

#include "host/glfw.h"
#include <stb_image.h>

#include "audio/sampleloader.h"
#include "host/glfwgame.h"
#include "host/platform.h"

namespace {

const char* const kStateFile = "./.vantlestate";
// The longest state the game writes is about 130 KB. Anything much larger is
// not one of ours, and decoding and splitting it would take gigabytes.
const off_t kMaxStateBytes = 1 << 20;

}  // namespace

// File names here are bytes, not text in any encoding: a path holds one unit
// per byte of the name, from the program's own path on, and goes back to the
// same bytes, so a folder named in Latin-1 or with any UTF-8 character works.
FILE* XrGame::OpenFile(String path, String mode) {
    String file = PathToFilePath(path);
    if (file.Length() == 0) return nullptr;
    return platform::OpenFile(file.ToNarrow(), mode.ToNarrow().c_str());
}

String XrGame::LoadString(String path) {
    FILE* f = OpenFile(path, String("rb"));
    if (!f) return String();
    String text = String::Load(f);
    std::fclose(f);
    return text;
}

unsigned char* XrGame::LoadData(String path, int* length) {
    FILE* f = OpenFile(path, String("rb"));
    if (!f) return nullptr;
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    for (;;) {
        size_t n = std::fread(block, 1, sizeof block, f);
        bytes.insert(bytes.end(), block, block + n);
        if (n < sizeof block) break;
    }
    std::fclose(f);
    unsigned char* data = static_cast<unsigned char*>(std::malloc(bytes.size() + 1));
    if (!data) return nullptr;
    std::copy(bytes.begin(), bytes.end(), data);
    *length = int(bytes.size());
    gc_ext_malloced(*length);
    return data;
}

int XrGame::SaveState(String state) {
    std::string bytes = state.ToUtf8();
    const int result = platform::ReplaceFile(kStateFile, bytes.data(), bytes.size());
    if (result == 0) platform::SyncStorage();
    return result;
}

String XrGame::LoadState() {
    // Only a regular file: opening a pipe of that name would wait forever.
    struct stat info;
    if (stat(kStateFile, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxStateBytes) return String();
    FILE* f = platform::OpenFile(kStateFile, "rb");
    if (!f) return String();
    String text = String::Load(f);
    std::fclose(f);
    return text;
}

int XrGame::GetDate(Array<int> date) {
    int n = date.Length();
    if (n == 0) return 0;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!platform::LocalTime(now, &local)) return 0;
    const int fields[7] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min,         local.tm_sec,     0};
    for (int i = 0; i < n && i < 7; ++i) date[i] = fields[i];
    return 0;
}

int XrGlfwGame::Millisecs() {
    return int(GetTime() * 1000);
}

String XrGlfwGame::PathToFilePath(String path) {
    if (_baseDir.Length() == 0) {
        std::string exe = platform::ProgramPath();
        String full = String(exe.data(), int(exe.size())).Replace(String("\\"), String("/"));
        int slash = full.FindLast(String("/"));
        if (slash < 0) std::abort();
        _baseDir = full.Slice(0, slash);
    }
    if (!path.StartsWith(String("vantle:"))) return path;
    const String data("vantle://data/"), internal("vantle://internal/"), external("vantle://external/");
    if (path.StartsWith(data)) return _baseDir + String("/data/") + path.Slice(data.Length());
    if (path.StartsWith(internal)) {
        if (_internalDir.Length() == 0) _internalDir = _baseDir + String("/internal");
        return _internalDir + String("/") + path.Slice(internal.Length());
    }
    if (path.StartsWith(external)) return _baseDir + String("/external/") + path.Slice(external.Length());
    return String();
}

unsigned char* XrGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
    FILE* f = OpenFile(path, String("rb"));
    if (!f) return nullptr;
    unsigned char* pixels = stbi_load_from_file(f, width, height, depth, 0);
    std::fclose(f);
    if (!pixels) return nullptr;
    gc_ext_malloced(*width * *height * *depth);
    return pixels;
}

unsigned char* XrGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) {
    FILE* f = OpenFile(path, String("rb"));
    if (!f) return nullptr;
    String lower = path.ToLower();
    unsigned char* samples = nullptr;
    if (lower.EndsWith(String(".wav")))
        samples = LoadWAV(f, length, channels, format, hertz);
    else if (lower.EndsWith(String(".ogg")))
        samples = LoadOGG(f, length, channels, format, hertz);
    std::fclose(f);
    if (!samples) return nullptr;
    gc_ext_malloced(*length * *channels * *format);
    return samples;
}

Array<XrDisplayMode*> XrGlfwGame::GetDisplayModes() {
    int count = 0;
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* modes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
    int kept = 0;
    for (int i = 0; i < count; ++i)
        if (modes[i].refreshRate == 0 || modes[i].refreshRate == 60) ++kept;
    Array<XrDisplayMode*> result(kept);
    for (int i = 0, k = 0; i < count; ++i) {
        if (modes[i].refreshRate != 0 && modes[i].refreshRate != 60) continue;
        XrDisplayMode* mode = new XrDisplayMode();
        mode->width = modes[i].width;
        mode->height = modes[i].height;
        gc_assign(result[k++], mode);
    }
    return result;
}

XrDisplayMode* XrGlfwGame::GetDesktopMode() {
    XrDisplayMode* mode = new XrDisplayMode();
    mode->width = _desktopMode.width;
    mode->height = _desktopMode.height;
    return mode;
}

void XrGlfwGame::SetMouseVisible(bool visible) {
    if (_window) glfwSetInputMode(_window, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

void XrGlfwGame::OpenUrl(String url) {
    platform::OpenUrl(url.ToUtf8());
}
