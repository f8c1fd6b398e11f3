#include "tests/harness/game_driver.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <GLFW/glfw3.h>
#include <stb_image_write.h>

#include "audio/device.h"
#include "game/assets.h"
#include "graphics/graphics.h"
#include "shell/controls.h"
#include "shell/data_paths.h"
#include "shell/draw.h"
#include "shell/font.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "tests/harness/environment.h"
#include "tests/harness/host_fixture.h"
#include "tests/harness/sound_files.h"
#include "tests/harness/test_roots.h"

GameDriver::GameDriver(int width, int height, bool canQuit) {
    host.canQuit = canQuit;
    if (!std::getenv("ALSOFT_DRIVERS")) SetEnv("ALSOFT_DRIVERS", "null");
    folder.Enter();

    ResetModules();
    xr_app__game = &host;
    host.SetDeviceWindow(width, height, 0);
    PollUntil([&] {
        int w = 0, h = 0;
        glfwGetFramebufferSize(host.Window(), &w, &h);
        return w == width && h == height;
    });
    game = (new c_MyGame())->m_new();
    host.StartGame();
}

GameDriver::~GameDriver() {
    host.SetDelegate(nullptr);
    ResetModules();
}

void GameDriver::Update(int count) {
    for (int i = 0; i < count; ++i) {
        host.now += 1.0 / 60;
        host.UpdateGame();
        ++updates;
    }
}

void GameDriver::Render() {
    host.RenderGame();
}

void GameDriver::Load() {
    while (xr_ruvo_RUVO_Loader > 0) {
        Update();
        Render();
    }
}

void GameDriver::StartGame(int type) {
    Load();
    xr_ruvo_RUVO_GameType = type;
    xr_ruvo_RUVO_GameMode = MODE_START;
    Update();
    Render();
}

void GameDriver::Press(int key) {
    host.KeyEvent(c_XrGameEvent::KeyDown, key);
}

void GameDriver::Release(int key) {
    host.KeyEvent(c_XrGameEvent::KeyUp, key);
}

void GameDriver::Tap(int key) {
    Press(key);
    Update();
    Release(key);
    Update();
}

void GameDriver::MouseDown(float x, float y) {
    host.MouseEvent(c_XrGameEvent::MouseMove, -1, x, y);
    host.MouseEvent(c_XrGameEvent::MouseDown, 0, x, y);
}

void GameDriver::MouseUp(float x, float y) {
    host.MouseEvent(c_XrGameEvent::MouseUp, 0, x, y);
}

uint32_t GameDriver::Pixel(int x, int y) {
    Array<int> pixel(1);
    xr_graphics_device->ReadPixels(pixel, x, y, 1, 1, 0, 1);
    return uint32_t(pixel[0]);
}

std::vector<uint32_t> GameDriver::Frame() {
    const int w = host.GetDeviceWidth(), h = host.GetDeviceHeight();
    Array<int> pixels(w * h);
    xr_graphics_device->ReadPixels(pixels, 0, 0, w, h, 0, w);
    return std::vector<uint32_t>(pixels.Data(), pixels.Data() + w * h);
}

bool GameDriver::SavePng(const std::string& path) {
    const int w = host.GetDeviceWidth(), h = host.GetDeviceHeight();
    Array<int> pixels(w * h);
    xr_graphics_device->ReadPixels(pixels, 0, 0, w, h, 0, w);
    std::vector<unsigned char> rgb(size_t(w) * size_t(h) * 3);
    for (int i = 0; i < w * h; ++i) {
        const uint32_t p = uint32_t(pixels[i]);
        rgb[size_t(i) * 3] = (unsigned char)(p >> 16);
        rgb[size_t(i) * 3 + 1] = (unsigned char)(p >> 8);
        rgb[size_t(i) * 3 + 2] = (unsigned char)p;
    }
    return stbi_write_png(path.c_str(), w, h, 3, rgb.data(), w * 3) != 0;
}

std::unique_ptr<ScratchFolder> ShellTest::data_;

void ShellTest::SetUpTestSuite() {
    data_ = std::make_unique<ScratchFolder>("shell-data");
    SetEnv("ALSOFT_DRIVERS", "null");
    WavClip clip;
    clip.data = Bytes16(Tone(4410, 1, 44100, 300, 0.3));
    std::ofstream(DataFile(data_->path(), xr_ruvo_EffectFile(GAME_NUMBER, SFX_CHIME)), std::ios::binary)
        << MakeWav(clip);
    std::ofstream(DataFile(data_->path(), xr_ruvo_TuneFile(GAME_NUMBER, kGameTune)), std::ios::binary)
        << EncodeOgg(Tone(44100, 2, 22050, 200, 0.3), 2, 22050);
}

void ShellTest::TearDownTestSuite() {
    data_.reset();
}

void ShellTest::SetUp() {
    host.dataFolder = data_->path();
    folder.Enter();
    Fresh();
}

void ShellTest::TearDown() {
    xr_audio_device->StopMusic();
}

void ShellTest::Fresh() {
    if (xr_audio_device) xr_audio_device->StopMusic();
    std::filesystem::remove(".vantlestate");
    ResetModules();
    xr_app__game = &host;
    input = (new c_InputDevice())->m_new();
    xr_input_SetInputDevice(input);
    game = (new c_MyGame())->m_new();
    if (!gxtkAudio::audio) new gxtkAudio();
    gc_assign(xr_audio_device, gxtkAudio::audio);
    xr_ruvo_SetGameNumber(GAME_NUMBER);
    xr_ruvo_SetDefaults();
    xr_ruvo_RUVO_Scale = 1;
    xr_ruvo_RUVO_Font = IMG_FONT;
    xr_ruvo_RUVO_ImgD[IMG_FONT] = FONT_FRAMES;
    for (int image : {IMG_MENU, IMG_TITLE, IMG_PARTICLE_STARS, IMG_OPTION_ICONS, IMG_SCOREBOARD, IMG_ICONS, IMG_RING})
        xr_ruvo_RUVO_ImgD[image] = 64;
    xr_ruvo_RUVO_ImgW[IMG_ICONS] = 128;
    xr_ruvo_RUVO_ImgW[IMG_OPTION_ICONS] = 68;
}

void ShellTest::Update(const std::function<void()>& screen) {
    xr_ruvo_Sprtup = 0;
    xr_ruvo_ResetDraw();
    input->p_BeginUpdate();
    xr_ruvo_ReadPointer();
    xr_ruvo_DoControls();
    screen();
    input->p_EndUpdate();
}

void ShellTest::Key(int key, bool down) {
    input->p_KeyEvent(down ? c_XrGameEvent::KeyDown : c_XrGameEvent::KeyUp, key);
}
