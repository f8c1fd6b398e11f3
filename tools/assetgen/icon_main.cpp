// Writes the game's desktop icons: the studio emblem at every size of the
// hicolor theme that desktops and software centres look for, each drawn at
// its own size rather than scaled from another, and the same pictures up to
// 256 pixels as one Windows icon file for the program's resources, and the
// web page's icons: 192 and 512 pixels, and a maskable one whose emblem sits
// inside the circle a launcher may cut it to, on the page's own colour.
//
//   appicon DIR NAME    writes DIR/<n>x<n>/apps/NAME.png, DIR/NAME.ico and
//                       DIR/web/{icon-192,icon-512,maskable-512}.png
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/assetgen/assets.h"
#include "tools/assetgen/raster.h"

namespace {

void put16(std::string& out, unsigned v) {
    out += char(v & 0xFF);
    out += char(v >> 8 & 0xFF);
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// An icon file whose pictures are PNG files, as Windows reads them since
// Vista: a directory of (size, byte count, offset), then the files whole.
bool writeIco(const std::filesystem::path& path, const std::vector<std::pair<int, std::string>>& pngs) {
    std::string out;
    put16(out, 0);
    put16(out, 1);  // an icon, not a cursor
    put16(out, unsigned(pngs.size()));
    uint32_t offset = uint32_t(6 + 16 * pngs.size());
    for (const auto& [size, bytes] : pngs) {
        out += char(size >= 256 ? 0 : size);  // 0 stands for 256
        out += char(size >= 256 ? 0 : size);
        out += '\0';  // no palette
        out += '\0';
        put16(out, 1);   // planes
        put16(out, 32);  // bits a pixel
        put32(out, uint32_t(bytes.size()));
        put32(out, offset);
        offset += uint32_t(bytes.size());
    }
    for (const auto& png : pngs) out += png.second;
    std::ofstream file(path, std::ios::binary);
    file << out;
    return bool(file.flush());
}

// A maskable icon may be cut to any shape holding the central circle of
// 80 % of its width: the emblem fills that circle, the rest is background.
bool writeWebIcons(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "appicon: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
        return false;
    }
    for (int size : {192, 512}) art::writePNG((folder / ("icon-" + std::to_string(size) + ".png")).string(), art::studioEmblem(size));
    const int size = 512, inner = size * 4 / 5;
    art::Image maskable(size, size);
    for (art::RGBA& p : maskable.px) p = art::hex(0x04101c);
    maskable.blit(art::studioEmblem(inner), (size - inner) / 2, (size - inner) / 2);
    art::writePNG((folder / "maskable-512.png").string(), maskable);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DIR NAME\n", argv[0]);
        return 2;
    }
    std::vector<std::pair<int, std::string>> pngs;
    for (int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
        const std::string n = std::to_string(size);
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / (n + "x" + n) / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::fprintf(stderr, "appicon: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
            return 1;
        }
        const std::filesystem::path png = folder / (std::string(argv[2]) + ".png");
        art::writePNG(png.string(), art::studioEmblem(size));
        if (size <= 256) {
            std::ifstream in(png, std::ios::binary);
            pngs.emplace_back(size, std::string(std::istreambuf_iterator<char>(in), {}));
        }
    }
    const std::filesystem::path ico = std::filesystem::path(argv[1]) / (std::string(argv[2]) + ".ico");
    if (!writeIco(ico, pngs)) {
        std::fprintf(stderr, "appicon: cannot write %s\n", ico.c_str());
        return 1;
    }
    return writeWebIcons(std::filesystem::path(argv[1]) / "web") ? 0 : 1;
}
