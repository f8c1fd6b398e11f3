// Writes the game's desktop icon: the studio emblem at 256 x 256.
//
//   appicon FILE
#include <cstdio>

#include "tools/assetgen/assets.h"
#include "tools/assetgen/raster.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    art::writePNG(argv[1], art::studioEmblem(256));
    return 0;
}
