// Writes the game's desktop icons: the studio emblem at every size of the
// hicolor theme that desktops and software centres look for, each drawn at
// its own size rather than scaled from another.
//
//   appicon DIR NAME    writes DIR/<n>x<n>/apps/NAME.png
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/assetgen/assets.h"
#include "tools/assetgen/raster.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DIR NAME\n", argv[0]);
        return 2;
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
        const std::string n = std::to_string(size);
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / (n + "x" + n) / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::fprintf(stderr, "appicon: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
            return 1;
        }
        art::writePNG((folder / (std::string(argv[2]) + ".png")).string(), art::studioEmblem(size));
    }
    return 0;
}
