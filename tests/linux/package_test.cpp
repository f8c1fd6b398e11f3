// The Debian package as a player gets it: made by CPack from this build,
// read back with dpkg-deb, judged by lintian, installed with apt-get,
// started through its launcher and removed again. Installing needs root, as
// CI has; the package never stays on the machine after the test.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/harness/files.h"
#include "tests/harness/process.h"
#include "tests/harness/scratch.h"
#include "tests/harness/x11.h"

namespace fs = std::filesystem;

namespace {

const std::string kVersion = GLIMMERDEEP_VERSION;
const std::string kId = GLIMMERDEEP_APP_ID;

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

ProcessResult Command(const std::vector<std::string>& args, double timeout = 60) {
    ProcessOptions options;
    options.env = {"DEBIAN_FRONTEND=noninteractive", "LC_ALL=C.UTF-8"};
    options.timeoutSeconds = timeout;
    return RunProcess(args, options);
}

// The package's state in dpkg's database: "installed", "not-installed", ...
std::string PackageState() {
    ProcessResult r = Command({"/usr/bin/dpkg-query", "-W", "-f=${db:Status-Status}", "glimmerdeep"});
    return r.status == 0 ? r.out : "not-installed";
}

class Package : public ::testing::Test {
protected:
    // Made once for the tests this program runs (under ctest, one each).
    static ScratchFolder* scratch;
    static fs::path folder, deb;
    static std::string error;

    static void SetUpTestSuite() {
        scratch = new ScratchFolder("package");
        folder = scratch->path();
        // apt reads the file as its own unprivileged user.
        chmod(folder.c_str(), 0755);
        ProcessResult arch = Command({"/usr/bin/dpkg", "--print-architecture"});
        deb = folder / ("glimmerdeep_" + kVersion + "_" + FirstLine(arch.out) + ".deb");
        const std::string config = std::string(BUILD_DIR) + "/CPackConfig.cmake";
        ProcessResult r = Command({CPACK_COMMAND, "--config", config, "-B", folder.string()}, 300);
        if (r.status != 0 || !fs::exists(deb))
            error = "cpack did not make " + deb.string() + "\n" + r.out + r.err;
    }
    static void TearDownTestSuite() {
        delete scratch;
        scratch = nullptr;
    }

    void SetUp() override { ASSERT_EQ(error, "") << error; }

    // The paths the package holds, without the leading ".".
    static std::vector<std::string> Contents() {
        ProcessResult r = Command({"/usr/bin/dpkg-deb", "--fsys-tarfile", deb.string()});
        std::vector<std::string> paths;
        ProcessOptions options;
        options.stdinKind = StdinKind::Pipe;
        options.input = r.out;
        std::istringstream list(RunProcess({"/bin/tar", "-t"}, options).out);
        for (std::string line; std::getline(list, line);)
            if (line.size() > 2) paths.push_back(line.substr(1));
        return paths;
    }
    static std::string Field(const std::string& name) {
        return FirstLine(Command({"/usr/bin/dpkg-deb", "-f", deb.string(), name}).out);
    }
};

ScratchFolder* Package::scratch;
fs::path Package::folder, Package::deb;
std::string Package::error;

TEST_F(Package, DescribesItselfAndHoldsTheGameUnderUsr) {
    EXPECT_EQ(Field("Package"), "glimmerdeep");
    EXPECT_EQ(Field("Version"), kVersion);
    EXPECT_EQ(Field("Section"), "games");
    EXPECT_NE(Field("Maintainer").find('@'), std::string::npos);
    EXPECT_NE(Field("Description").find("arcade game"), std::string::npos);
    // The libraries the program links, and libGL, which GLFW opens.
    const std::string depends = Field("Depends");
    for (const char* library : {"libglfw3 ", "libopenal1 ", "libopengl0", "libgl1", "libc6 "})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;

    const std::vector<std::string> contents = Contents();
    const std::set<std::string> held(contents.begin(), contents.end());
    std::vector<std::string> expected = {
        "/usr/bin/glimmerdeep",
        "/usr/lib/glimmerdeep/glimmerdeep",
        "/usr/lib/glimmerdeep/data/503/gfx.png",
        "/usr/lib/glimmerdeep/data/503/sfx/Aqua.ogg",
        "/usr/lib/glimmerdeep/data/LICENSE",
        "/usr/lib/glimmerdeep/data/LICENSE.fonts",
        "/usr/share/applications/" + kId + ".desktop",
        "/usr/share/metainfo/" + kId + ".metainfo.xml",
        "/usr/share/man/man6/glimmerdeep.6.gz",
        "/usr/share/doc/glimmerdeep/copyright",
        "/usr/share/doc/glimmerdeep/changelog.gz",
    };
    for (int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
        const std::string n = std::to_string(size);
        expected.push_back("/usr/share/icons/hicolor/" + n + "x" + n + "/apps/" + kId + ".png");
    }
    for (const std::string& path : expected) EXPECT_TRUE(held.count(path)) << path;
    for (const std::string& path : contents) EXPECT_EQ(path.rfind("/usr/", 0), 0u) << path;
}

// The version is written once: the program, the package, the metainfo's
// release and the changelog's newest entry all say the same.
TEST_F(Package, EveryPartGivesTheSameVersion) {
    const fs::path root = folder / "unpacked";
    ProcessResult r = Command({"/usr/bin/dpkg-deb", "-x", deb.string(), root.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    r = Command({(root / "usr/lib/glimmerdeep/glimmerdeep").string(), "--version"});
    EXPECT_EQ(FirstLine(r.out), "glimmerdeep " + kVersion);
    const std::string xml = ReadFile(root / "usr/share/metainfo" / (kId + ".metainfo.xml"));
    EXPECT_NE(xml.find("<release version=\"" + kVersion + "\""), std::string::npos) << xml;
    r = Command({"/bin/gzip", "-dk", (root / "usr/share/doc/glimmerdeep/changelog.gz").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    r = Command({"/usr/bin/dpkg-parsechangelog", "-l", (root / "usr/share/doc/glimmerdeep/changelog").string(), "-S",
             "Version"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, kVersion + "\n");
    EXPECT_EQ(Field("Version"), kVersion);
}

// Debian's own checker: the copyright file, the changelog, the manual page,
// a stripped program, the libraries it needs. Its one complaint is that a
// game's program belongs in /usr/games, where the project chose /usr/bin.
TEST_F(Package, PassesLintian) {
    ProcessResult r = Command({"/usr/bin/lintian", "--fail-on", "error,warning", "--suppress-tags",
                           "package-section-games-but-contains-no-game", deb.string()},
                          180);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "");
}

class PackageInstall : public Package {
protected:
    fs::path home;

    void SetUp() override {
        ASSERT_EQ(geteuid(), 0u) << "installing a package needs root, as CI has: run this test as root";
        Package::SetUp();
        home = folder / "home";
    }
    // Whatever the test got to, the machine is left without the package.
    void TearDown() override {
        if (PackageState() != "not-installed") {
            ProcessResult r =
                Command({"/usr/bin/apt-get", "purge", "-y", "-o", "DPkg::Lock::Timeout=120", "glimmerdeep"}, 300);
            EXPECT_EQ(r.status, 0) << r.out << r.err;
        }
        EXPECT_EQ(PackageState(), "not-installed");
    }
};

TEST_F(PackageInstall, InstallsPlaysAndRemovesLeavingOnlyThePlayersData) {
    ProcessResult r = Command({"/usr/bin/apt-get", "install", "-y", "-o", "DPkg::Lock::Timeout=120", deb.string()}, 300);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    ASSERT_EQ(PackageState(), "installed");
    const std::vector<std::string> contents = Contents();
    for (const std::string& path : contents) EXPECT_TRUE(fs::exists(path)) << path;
    // Software centres find it in the system's catalogue, with its icon.
    r = Command({"/usr/bin/appstreamcli", "get", kId});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Identifier: " + kId + " [desktop-application]\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Icon: " + kId), std::string::npos) << r.out;

    // The installed launcher, from anywhere, with a home of the test's own:
    // the options opened and left save the state into the home's data folder.
    ProcessOutput output;
    ProcessOptions options;
    options.workDir = folder;
    options.env = {"HOME=" + home.string(), "XDG_DATA_HOME", "ALSOFT_DRIVERS=null", "GLIMMERDEEP_PACING=1"};
    options.timeoutSeconds = 90;
    options.output = &output;
    std::string classed;
    options.whileRunning = [&](pid_t pid) {
        std::string window = EnterMenu(pid, output);
        if (window.empty()) return;
        // Desktops join the window to its entry by the class the entry names.
        classed = Xdotool("search --class ^Glimmerdeep$");
        if (classed.find(window) == std::string::npos) classed += " lacks " + window;
        SaveThroughTheOptionsAndQuit();
    };
    r = RunProcess({"/usr/bin/glimmerdeep"}, options);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(classed.find("lacks"), std::string::npos) << classed;
    const fs::path state = home / ".local/share/glimmerdeep/.vantlestate";
    ASSERT_TRUE(fs::exists(state)) << r.out << r.err;
    EXPECT_EQ(ReadFile(state).rfind("RUVO_v2.0|", 0), 0u);
    EXPECT_FALSE(fs::exists(folder / ".vantlestate"));

    r = Command({"/usr/bin/apt-get", "remove", "-y", "-o", "DPkg::Lock::Timeout=120", "glimmerdeep"}, 300);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(PackageState(), "not-installed");
    EXPECT_NE(Command({"/usr/bin/appstreamcli", "get", kId}).status, 0) << "gone from the catalogue";
    for (const std::string& path : contents) {
        if (path.back() == '/') continue;  // folders shared with other packages stay
        EXPECT_FALSE(fs::exists(path)) << path << " left behind";
    }
    for (const char* own : {"/usr/lib/glimmerdeep", "/usr/share/doc/glimmerdeep"})
        EXPECT_FALSE(fs::exists(own)) << own << " left behind";
    EXPECT_TRUE(fs::exists(state)) << "the player's data stays";
}

}  // namespace
