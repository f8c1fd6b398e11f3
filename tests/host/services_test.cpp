// Host services on real files and the test X server, on Linux and Windows;
// services_linux_test.cpp holds those only Linux can set up.
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include <GLFW/glfw3.h>
#include <stb_image_write.h>

#include "host/platform.h"
#include "tests/harness/environment.h"
#include "tests/harness/files.h"
#include "tests/harness/test_roots.h"
#include "tests/host/services_fixture.h"

namespace {

TEST_F(Services, PathsMapIntoTheProgramFolder) {
    const std::string base = ProgramFolder();
    struct Case {
        const char* path;
        std::string file;
    };
    const std::vector<Case> cases = {
        {"vantle://data/gfx/a.png", base + "/data/gfx/a.png"},
        {"vantle://internal/s.txt", base + "/internal/s.txt"},
        {"vantle://external/shared.txt", base + "/external/shared.txt"},
        {"vantle://cache/x.png", ""},
        {"vantle:data/x.png", ""},
        {"a/b.txt", "a/b.txt"},
        {"./c.txt", "./c.txt"},
        {"/abs/d.txt", "/abs/d.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(host->PathToFilePath(text(c.path)).ToUtf8(), c.file) << c.path;
    EXPECT_EQ(host->OpenFile(text("vantle://cache/x.png"), text("rb")), nullptr);
    EXPECT_EQ(host->LoadString(text("vantle://cache/x.png")).Length(), 0);
}

TEST_F(Services, StateRoundTripsAsUtf8) {
    const String state = utf16(u"RUVO|\u20ac|\u00e9|7");
    EXPECT_EQ(host->SaveState(state), 0);
    EXPECT_EQ(ReadFile(".vantlestate"), "RUVO|\xE2\x82\xAC|\xC3\xA9|7");
    EXPECT_EQ(host->LoadState(), state);
    EXPECT_EQ(Names(), std::vector<std::string>{".vantlestate"}) << "no temporary file stays behind";

    EXPECT_EQ(host->SaveState(String()), 0);
    EXPECT_EQ(fs::file_size(".vantlestate"), 0u);
    EXPECT_EQ(host->LoadState().Length(), 0);
    fs::remove(".vantlestate");
    EXPECT_EQ(host->LoadState().Length(), 0) << "no state yet: the empty string";
}

TEST_F(Services, StateThatCannotBeCreatedOrPlacedFailsHarmlessly) {
    // A folder where the state file should be: it cannot be replaced.
    fs::create_directory(".vantlestate");
    WriteFile(".vantlestate/keep", "kept");
    EXPECT_EQ(host->SaveState(text("state")), -1);
    EXPECT_TRUE(fs::is_directory(".vantlestate"));
    EXPECT_EQ(ReadFile(".vantlestate/keep"), "kept");
    EXPECT_EQ(Names(), std::vector<std::string>{".vantlestate"});
    EXPECT_EQ(host->LoadState().Length(), 0);
}

TEST_F(Services, FilesLoadAsTextBytesImagesAndSounds) {
    WriteFile("note.txt", "caf\xC3\xA9");
    EXPECT_EQ(host->LoadString(text((folder / "note.txt").string())), utf16(u"caf\u00e9"));

    int ext = gc_ext_new_bytes.load();
    std::string bytes(5000, '\x7f');
    bytes[4999] = 'z';
    WriteFile("blob.bin", bytes);
    int length = 0;
    unsigned char* data = host->LoadData(text((folder / "blob.bin").string()), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 5000);
    EXPECT_EQ(data[4999], 'z');
    EXPECT_EQ(gc_ext_new_bytes.load() - ext, 5000);
    std::free(data);
    EXPECT_EQ(host->LoadData(text((folder / "missing.bin").string()), &length), nullptr);

    const unsigned char rgb[2 * 3 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    ASSERT_TRUE(stbi_write_png((folder / "pic.png").string().c_str(), 3, 2, 3, rgb, 9));
    int w = 0, h = 0, depth = 0;
    ext = gc_ext_new_bytes.load();
    unsigned char* pixels = host->LoadImageData(text((folder / "pic.png").string()), &w, &h, &depth);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(depth, 3);
    EXPECT_EQ(std::vector<unsigned char>(pixels, pixels + 18), std::vector<unsigned char>(rgb, rgb + 18));
    EXPECT_EQ(gc_ext_new_bytes.load() - ext, 18);
    std::free(pixels);
    WriteFile("broken.png", "not a picture");
    EXPECT_EQ(host->LoadImageData(text((folder / "broken.png").string()), &w, &h, &depth), nullptr);
    // Only PNG: eighteen bytes that read as an 8000 x 8000 TGA header are
    // not a picture of 256 MB; nor is a PNG wider than 8192.
    WriteFile("header.png", std::string("\0\0\x02\0\0\0\0\0\0\0\0\0\x40\x1f\x40\x1f\x20\0", 18));
    EXPECT_EQ(host->LoadImageData(text((folder / "header.png").string()), &w, &h, &depth), nullptr);
    const std::vector<unsigned char> row(9000, 128);
    ASSERT_TRUE(stbi_write_png((folder / "wide.png").string().c_str(), 9000, 1, 1, row.data(), 9000));
    EXPECT_EQ(host->LoadImageData(text((folder / "wide.png").string()), &w, &h, &depth), nullptr);

    // 8-bit mono PCM: 4 frames.
    std::string wav = std::string("RIFF") + std::string("\x28\0\0\0", 4) + "WAVEfmt " +
                      std::string("\x10\0\0\0\x01\0\x01\0\x44\xac\0\0\x44\xac\0\0\x01\0\x08\0", 20) + "data" +
                      std::string("\x04\0\0\0", 4) + std::string("\x80\xff\x00\x80", 4);
    for (const char* name : {"clip.WAV", "clip.wav"}) {
        WriteFile(name, wav);
        int frames = 0, channels = 0, format = 0, hertz = 0;
        unsigned char* samples =
            host->LoadAudioData(text((folder / name).string()), &frames, &channels, &format, &hertz);
        ASSERT_NE(samples, nullptr) << name;
        EXPECT_EQ(frames, 4);
        EXPECT_EQ(channels, 1);
        EXPECT_EQ(format, 1);
        EXPECT_EQ(hertz, 44100);
        EXPECT_EQ(samples[1], 0xff);
        std::free(samples);
    }
    for (const char* name : {"clip.mp3", "clip.ogg", "missing.wav"}) {
        if (std::string(name) != "missing.wav") WriteFile(name, wav);
        int frames = 0, channels = 0, format = 0, hertz = 0;
        EXPECT_EQ(host->LoadAudioData(text((folder / name).string()), &frames, &channels, &format, &hertz),
                  nullptr)
            << name;
    }
}

TEST_F(Services, DateFillsAsManyFieldsAsTheArrayHolds) {
    const std::tm local = LocalNow();
    Array<int> three(3);
    host->GetDate(three);
    EXPECT_EQ(three[0], local.tm_year + 1900);
    EXPECT_EQ(three[1], local.tm_mon + 1);
    EXPECT_EQ(three[2], local.tm_mday);

    Array<int> eight(8);
    eight[6] = eight[7] = 99;
    host->GetDate(eight);
    EXPECT_EQ(eight[0], local.tm_year + 1900);
    EXPECT_GE(eight[3], 0);
    EXPECT_LE(eight[5], 60);
    EXPECT_EQ(eight[6], 0);
    EXPECT_EQ(eight[7], 99) << "beyond the seventh nothing is touched";
    EXPECT_EQ(host->GetDate(Array<int>()), 0);
}

TEST_F(Services, DisplayModesAndDesktopMode) {
    // The test server offers one mode, 1024 x 768, with refresh rate 0. Wine
    // lists it once for each colour depth it offers (the application layer
    // removes such duplicates).
    Array<XrDisplayMode*> modes = host->GetDisplayModes();
    if (kUnderWine) {
        ASSERT_GE(modes.Length(), 1);
    } else {
        ASSERT_EQ(modes.Length(), 1);
    }
    for (int i = 0; i < modes.Length(); ++i) {
        EXPECT_EQ(modes[i]->width, 1024);
        EXPECT_EQ(modes[i]->height, 768);
        EXPECT_EQ(modes[i]->hertz, 0);
    }
    XrDisplayMode* desktop = host->GetDesktopMode();
    EXPECT_EQ(desktop->width, 1024);
    EXPECT_EQ(desktop->height, 768);
}

TEST_F(Services, MouseVisibility) {
    host->SetDeviceWindow(200, 100, WINDOW_GAME);
    host->SetMouseVisible(false);
    EXPECT_EQ(glfwGetInputMode(host->Window(), GLFW_CURSOR), GLFW_CURSOR_HIDDEN);
    host->SetMouseVisible(true);
    EXPECT_EQ(glfwGetInputMode(host->Window(), GLFW_CURSOR), GLFW_CURSOR_NORMAL);
}

}  // namespace
