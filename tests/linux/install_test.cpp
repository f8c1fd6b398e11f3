// Installing into a prefix, and starting the installed game through its
// launcher, which keeps the state file in the player's data folder. The
// desktop entry and the software-centre metadata are checked by the
// desktop's own validators, the icons by their pixels.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <stb_image.h>

#include "tests/harness/files.h"
#include "tests/harness/process.h"
#include "tests/harness/scratch.h"
#include "tests/harness/x11.h"

namespace fs = std::filesystem;

namespace {

class Install : public ::testing::Test {
protected:
    ScratchFolder root{"install"};
    const fs::path prefix = root / "prefix";

    void SetUp() override {
        ProcessResult r = RunProcess({CMAKE_COMMAND, "--install", BUILD_DIR, "--prefix", prefix.string()});
        ASSERT_EQ(r.status, 0) << r.out << r.err;
    }
};

const std::string kId = GLIMMERDEEP_APP_ID;

TEST_F(Install, PutsTheProgramItsDataALauncherAnEntryAndIcons) {
    EXPECT_TRUE(fs::exists(prefix / "lib/glimmerdeep/glimmerdeep"));
    EXPECT_TRUE(fs::exists(prefix / "lib/glimmerdeep/data/503/gfx.png"));
    EXPECT_TRUE(fs::exists(prefix / "lib/glimmerdeep/data/503/sfx/Aqua.ogg"));
    EXPECT_NE(ReadFile(prefix / "lib/glimmerdeep/data/LICENSE").find("MIT License\n"), std::string::npos);
    EXPECT_NE(ReadFile(prefix / "lib/glimmerdeep/data/LICENSE.fonts").find("Bitstream Vera"), std::string::npos);
    const fs::path launcher = prefix / "bin/glimmerdeep";
    ASSERT_TRUE(fs::exists(launcher));
    EXPECT_NE(fs::status(launcher).permissions() & fs::perms::owner_exec, fs::perms::none);
    // One name joins the entry, its icon and the metadata.
    std::string entry = ReadFile(prefix / "share/applications" / (kId + ".desktop"));
    EXPECT_NE(entry.find("Exec=" + launcher.string() + "\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("Icon=" + kId + "\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("Name=Glimmerdeep\n"), std::string::npos);
    EXPECT_NE(entry.find("Categories=Game;ArcadeGame;\n"), std::string::npos);
    EXPECT_NE(entry.find("StartupWMClass=Glimmerdeep\n"), std::string::npos) << "the window's class";
    EXPECT_TRUE(fs::exists(prefix / "share/man/man6/glimmerdeep.6.gz"));
    EXPECT_TRUE(fs::exists(prefix / "share/doc/glimmerdeep/changelog.gz"));
    EXPECT_NE(ReadFile(prefix / "share/doc/glimmerdeep/copyright").find("License: Bitstream-Vera\n"), std::string::npos);
}

// The validators that software centres and desktops apply, and what the
// metadata must say beyond being well formed.
TEST_F(Install, EntryAndMetadataPassTheirValidators) {
    const fs::path entry = prefix / "share/applications" / (kId + ".desktop");
    const fs::path metainfo = prefix / "share/metainfo" / (kId + ".metainfo.xml");
    ProcessResult r = RunProcess({"/usr/bin/desktop-file-validate", entry.string()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out + r.err, "") << "not even a hint";
    r = RunProcess({"/usr/bin/appstreamcli", "validate", "--no-net", "--pedantic", metainfo.string()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Validation was successful"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\nW: "), std::string::npos) << r.out;

    const std::string xml = ReadFile(metainfo);
    for (const std::string& part :
         {"<id>" + kId + "</id>", "<launchable type=\"desktop-id\">" + kId + ".desktop</launchable>",
          std::string("<name>Glimmerdeep</name>"), std::string("<category>Game</category>"),
          std::string("<category>ArcadeGame</category>"), std::string("<content_rating type=\"oars-1.1\""),
          std::string("<project_license>MIT AND Bitstream-Vera</project_license>"),
          std::string("<metadata_license>FSFAP</metadata_license>"),
          std::string("<release version=\"") + GLIMMERDEEP_VERSION + "\""})
        EXPECT_NE(xml.find(part), std::string::npos) << part;
    // Every picture of docs/ is offered as a screenshot, at its real size.
    std::set<std::string> shown;
    const std::regex image("<image type=\"source\" width=\"(\\d+)\" height=\"(\\d+)\">[^<]*/docs/([^<]+)</image>");
    for (std::sregex_iterator m(xml.begin(), xml.end(), image), end; m != end; ++m) {
        int w = 0, h = 0, n = 0;
        const std::string file = std::string(SOURCE_DIR) + "/docs/" + (*m)[3].str();
        ASSERT_TRUE(stbi_info(file.c_str(), &w, &h, &n)) << file;
        EXPECT_EQ(std::to_string(w) + "x" + std::to_string(h), (*m)[1].str() + "x" + (*m)[2].str()) << file;
        shown.insert((*m)[3].str());
    }
    std::set<std::string> pictures;
    for (const auto& e : fs::directory_iterator(fs::path(SOURCE_DIR) / "docs"))
        if (e.path().extension() == ".png") pictures.insert(e.path().filename().string());
    EXPECT_EQ(shown, pictures);
}

// Each standard size is drawn, not left empty: the emblem covers much of
// the square in many colours, with see-through corners.
TEST_F(Install, IconsAtEveryStandardSizeShowTheEmblem) {
    for (int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
        const std::string n = std::to_string(size);
        const fs::path file = prefix / "share/icons/hicolor" / (n + "x" + n) / "apps" / (kId + ".png");
        int w = 0, h = 0, channels = 0;
        unsigned char* pixels = stbi_load(file.c_str(), &w, &h, &channels, 4);
        ASSERT_NE(pixels, nullptr) << file;
        EXPECT_EQ(w, size) << file;
        EXPECT_EQ(h, size) << file;
        int solid = 0;
        std::set<unsigned> colours;
        for (int i = 0; i < w * h; ++i) {
            const unsigned char* p = pixels + i * 4;
            if (p[3] < 128) continue;
            ++solid;
            colours.insert(unsigned(p[0]) << 16 | unsigned(p[1]) << 8 | p[2]);
        }
        EXPECT_GE(solid, w * h / 2) << file;
        EXPECT_LT(solid, w * h) << file << ": the corners are see-through";
        EXPECT_GE(colours.size(), size_t(std::min(size * 2, 64))) << file;
        stbi_image_free(pixels);
    }
}

// The player opens the options and leaves them, which saves: the state file
// lands in the data folder, not in the folder the launcher was started from.
TEST_F(Install, LauncherPlaysFromThePlayersDataFolder) {
    const fs::path elsewhere = root / "somewhere";
    fs::create_directories(elsewhere);
    ProcessOutput output;
    ProcessOptions options;
    options.workDir = elsewhere;
    options.env = {"XDG_DATA_HOME=" + (root / "xdg").string(), "HOME=" + (root / "home").string(),
                   "ALSOFT_DRIVERS=null", "GLIMMERDEEP_PACING=1"};
    options.timeoutSeconds = 90;
    options.output = &output;
    options.whileRunning = [&](pid_t pid) {
        if (EnterMenu(pid, output).empty()) return;
        SaveThroughTheOptionsAndQuit();
    };
    ProcessResult r = RunProcess({(prefix / "bin/glimmerdeep").string()}, options);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    const fs::path state = root / "xdg/glimmerdeep/.vantlestate";
    ASSERT_TRUE(fs::exists(state)) << r.out << r.err;
    EXPECT_EQ(ReadFile(state).rfind("RUVO_v2.0|7|7|", 0), 0u);
    EXPECT_FALSE(fs::exists(elsewhere / ".vantlestate"));

    // Without XDG_DATA_HOME the folder is made under the home folder.
    options.env = {"XDG_DATA_HOME", "HOME=" + (root / "home").string(), "ALSOFT_DRIVERS=null"};
    options.output = nullptr;
    options.whileRunning = [](pid_t pid) {
        if (FocusGameWindow(pid).empty()) return;
        PressKey("F4");
    };
    r = RunProcess({(prefix / "bin/glimmerdeep").string()}, options);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(fs::is_directory(root / "home/.local/share/glimmerdeep"));

    // The launcher passes its arguments on.
    options.whileRunning = nullptr;
    r = RunProcess({(prefix / "bin/glimmerdeep").string(), "--version"}, options);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind(std::string("glimmerdeep ") + GLIMMERDEEP_VERSION + "\n", 0), 0u) << r.out;
    r = RunProcess({(prefix / "bin/glimmerdeep").string(), "--help"}, options);
    EXPECT_NE(r.out.find("kept in " + (root / "home/.local/share/glimmerdeep/.vantlestate").string() + "\n"),
              std::string::npos)
        << r.out;
    r = RunProcess({(prefix / "bin/glimmerdeep").string(), "--nonsense"}, options);
    EXPECT_EQ(r.status, 2);
}

}  // namespace
