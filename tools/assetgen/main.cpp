// Writes every image, font, sound and music file of the game's data folder,
// named as the game's asset tables name them (tools/assetgen/catalog.h).
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
#include "tools/assetgen/catalog.h"
#include "tools/assetgen/sound.h"

#ifndef ASSETGEN_FONT_DIR
#define ASSETGEN_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

struct Job {
    std::string path;
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
            {kBuiltinFontFile, image([&] { return art::defaultFont(fonts); })},
            {catalog::imageFile(IMG_FONT), image([&] { return art::gameFont(fonts); })},
            {catalog::imageFile(IMG_EMBLEM), image([] { return art::studioEmblem(1024); })},
            {catalog::imageFile(IMG_PARTICLE_SHAPES_FULL), image([] { return art::shapeParticles(true); })},
            {catalog::imageFile(IMG_PARTICLE_SHAPES), image([] { return art::shapeParticles(false); })},
            {catalog::imageFile(IMG_PARTICLE_SMOKE), image(art::smokeParticles)},
            {catalog::imageFile(IMG_PARTICLE_CLUSTER), image(art::clusterParticles)},
            {catalog::imageFile(IMG_PARTICLE_STARS), image(art::starParticles)},
            {catalog::imageFile(IMG_BUTTONS), image([&] { return art::buttons(fonts); })},
            {catalog::imageFile(IMG_ICONS), image([&] { return art::icons(fonts); })},
            {catalog::imageFile(IMG_RING), image(art::rings)},
            {catalog::imageFile(IMG_OPTION_ICONS), image([&] { return art::optionIcons(fonts); })},
            {catalog::imageFile(IMG_SCOREBOARD), image([&] { return art::scoreboard(fonts); })},
            {catalog::imageFile(IMG_TITLE), image([&] { return art::titleLogo(fonts); })},
            {catalog::imageFile(IMG_MENU), image(art::menuBackdrop)},
            {catalog::imageFile(IMG_TILES), image(art::spriteSheet)},
            {catalog::effectFile(SFX_TREASURE), effect(audio::treasureChime)},
            {catalog::effectFile(SFX_HIT), effect(audio::hit)},
            {catalog::effectFile(SFX_LAST_LIFE), effect(audio::lastLife)},
            {catalog::effectFile(SFX_SONAR), effect(audio::sonarPing)},
            {catalog::effectFile(SFX_CHIME), effect(audio::studioJingle)},
            {catalog::effectFile(SFX_MOVE), effect(audio::menuMove)},
            {catalog::effectFile(SFX_CONFIRM), effect(audio::menuSelect)},
            {catalog::musicPath(), [](const std::string& path) { audio::writeOgg(path, audio::aqua()); }},
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
                std::fprintf(stderr, "%-28s %6.2f s\n", job.path.c_str(), s);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
