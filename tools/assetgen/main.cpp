// Writes every image, font, sound and music file of the game's data folder.
//
//   assetgen OUTDIR [--fonts DIR] [--only PATH]...
//
// The output depends on nothing but this program and the font files, so two
// runs give the same bytes; the build runs it to make the data folder beside
// the game.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/assetgen/assets.h"
#include "tools/assetgen/sound.h"

#ifndef ASSETGEN_FONT_DIR
#define ASSETGEN_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

struct Job {
    const char* path;
    std::function<void(const std::string&)> write;
};

}  // namespace

int main(int argc, char** argv) {
    std::string out, fontDir = ASSETGEN_FONT_DIR;
    std::vector<std::string> only;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--fonts") && i + 1 < argc) {
            fontDir = argv[++i];
        } else if (!std::strcmp(argv[i], "--only") && i + 1 < argc) {
            only.push_back(argv[++i]);
        } else if (!std::strcmp(argv[i], "--verbose")) {
            verbose = true;
        } else if (argv[i][0] == '-' || !out.empty()) {
            std::fprintf(stderr, "usage: %s OUTDIR [--fonts DIR] [--only PATH]... [--verbose]\n", argv[0]);
            return 2;
        } else {
            out = argv[i];
        }
    }
    if (out.empty()) {
        std::fprintf(stderr, "usage: %s OUTDIR [--fonts DIR] [--only PATH]... [--verbose]\n", argv[0]);
        return 2;
    }

    try {
        art::FontSet fonts(fontDir);
        auto image = [](std::function<art::Image()> make) {
            return [make](const std::string& path) { art::writePNG(path, make()); };
        };
        auto effect = [](std::function<audio::Clip()> make) {
            return [make](const std::string& path) { audio::writeWAV(path, make()); };
        };
        const std::vector<Job> jobs = {
            {"vizo_font.png", image([&] { return art::defaultFont(fonts); })},
            {"common/bandwidth.png", image([&] { return art::gameFont(fonts); })},
            {"common/RUVOLogo.png", image([] { return art::studioEmblem(1024); })},
            {"common/part-shapefull.png", image([] { return art::shapeParticles(true); })},
            {"common/parts_shape.png", image([] { return art::shapeParticles(false); })},
            {"common/parts_smoke.png", image(art::smokeParticles)},
            {"common/parts_cluster.png", image(art::clusterParticles)},
            {"common/parts_stars.png", image(art::starParticles)},
            {"common/Buttons.png", image([&] { return art::buttons(fonts); })},
            {"common/icons.png", image([&] { return art::icons(fonts); })},
            {"common/circle.png", image(art::rings)},
            {"common/options.png", image([&] { return art::optionIcons(fonts); })},
            {"common/scoreboard.png", image([&] { return art::scoreboard(fonts); })},
            {"503/logo.png", image([&] { return art::titleLogo(fonts); })},
            {"503/menu.png", image(art::menuBackdrop)},
            {"503/gfx.png", image(art::spriteSheet)},
            {"503/sfx/001.wav", effect(audio::treasureChime)},
            {"503/sfx/002.wav", effect(audio::hit)},
            {"503/sfx/003.wav", effect(audio::lastLife)},
            {"503/sfx/004.wav", effect(audio::sonarPing)},
            {"common/096.wav", effect(audio::studioJingle)},
            {"common/098.wav", effect(audio::menuMove)},
            {"common/099.wav", effect(audio::menuSelect)},
            {"503/sfx/Aqua.ogg", [](const std::string& path) { audio::writeOgg(path, audio::aqua()); }},
        };
        for (const Job& job : jobs) {
            if (!only.empty()) {
                bool wanted = false;
                for (const std::string& o : only) wanted |= o == job.path;
                if (!wanted) continue;
            }
            std::filesystem::path target = std::filesystem::path(out) / job.path;
            std::filesystem::create_directories(target.parent_path());
            auto start = std::chrono::steady_clock::now();
            job.write(target.string());
            if (verbose) {
                double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                std::fprintf(stderr, "%-28s %6.2f s\n", job.path, s);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
