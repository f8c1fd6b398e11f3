// Effects and music of the shell on a real, silent OpenAL device.
#include <filesystem>
#include <fstream>
#include <memory>

#include <AL/al.h>
#include <gtest/gtest.h>

#include "game/assets.h"
#include "game/modules.h"
#include "host/app.h"
#include "host/glfwgame.h"
#include "shell/data_paths.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "support/random.h"
#include "tests/harness/data_host.h"
#include "tests/harness/environment.h"
#include "tests/harness/files.h"
#include "tests/harness/scratch.h"
#include "tests/harness/sound_files.h"

namespace fs = std::filesystem;

namespace {

// The suite's data folder: made before its first test, gone after its last.
std::unique_ptr<ScratchFolder> g_data;

float pitch_of(int channel) {
    float pitch = 0;
    alGetSourcef(xr_audio_device->channels[channel].source, AL_PITCH, &pitch);
    return pitch;
}

float gain_of(int channel) {
    float gain = 0;
    alGetSourcef(xr_audio_device->channels[channel].source, AL_GAIN, &gain);
    return gain;
}

class ShellSound : public ::testing::Test {
protected:
    DataHost host;

    static void SetUpTestSuite() {
        g_data = std::make_unique<ScratchFolder>("sfx-data");
        SetEnv("ALSOFT_DRIVERS", "null");
        WavClip clip;
        clip.data = Bytes16(Tone(4410, 1, 44100, 300, 0.3));
        for (const char* name : {"503/sfx/005.wav", "503/sfx/012.wav", "common/099.wav", "503/sfx/Aqua.wav"}) {
            fs::create_directories((g_data->path() / name).parent_path());
            std::ofstream(g_data->path() / name, std::ios::binary) << MakeWav(clip);
        }
        // Music is Ogg Vorbis.
        std::ofstream(DataFile(g_data->path(), xr_ruvo_TuneFile(GAME_NUMBER, kGameTune)), std::ios::binary)
            << EncodeOgg(Tone(22050, 2, 22050, 200, 0.3), 2, 22050);
    }
    static void TearDownTestSuite() { g_data.reset(); }

    void SetUp() override {
        host.dataFolder = g_data->path();
        xr_modules_init();
        xr_app__game = &host;
        xr_ruvo_SetGameNumber(GAME_NUMBER);
        xr_ruvo_SetDefaults();
        if (!gxtkAudio::audio) new gxtkAudio();
        gc_assign(xr_audio_device, gxtkAudio::audio);
        for (int n : {5, 12, int(SFX_CONFIRM), 3}) xr_ruvo_LoadSFX(n);
    }
};

TEST_F(ShellSound, EffectsLoadByTheirNumbers) {
    EXPECT_NE(xr_ruvo_RUVO_SFX[5], nullptr);
    EXPECT_NE(xr_ruvo_RUVO_SFX[12], nullptr);
    EXPECT_NE(xr_ruvo_RUVO_SFX[SFX_CONFIRM], nullptr);
    EXPECT_EQ(xr_ruvo_RUVO_SFX[3], nullptr) << "no such file";
    EXPECT_EQ(xr_ruvo_LoadSFX(100), 0);
    EXPECT_EQ(xr_ruvo_PlaySFX(-1), 0);
}

TEST_F(ShellSound, RatesAreClampedOrDrawn) {
    xr_ruvo_PlaySFX(5, 10);
    EXPECT_FLOAT_EQ(pitch_of(xr_ruvo_RUVO_LChan), 3.0f);
    xr_ruvo_PlaySFX(5, 0.1f);
    EXPECT_FLOAT_EQ(pitch_of(xr_ruvo_RUVO_LChan), 0.4f);

    xr_random_Seed = 99;
    float expected = xr_random_Rnd2(0.7f, 1.3f);
    xr_random_Seed = 99;
    xr_ruvo_PlaySFX(5);
    EXPECT_FLOAT_EQ(pitch_of(xr_ruvo_RUVO_LChan), expected);

    // Interface sounds play at their own pitch but still take their draw,
    // played or not.
    for (int n : {int(SFX_CONFIRM), 3}) {
        xr_random_Seed = 99;
        xr_ruvo_PlaySFX(n);
        int after = xr_random_Seed;
        xr_random_Seed = 99;
        xr_random_Rnd();
        EXPECT_EQ(after, xr_random_Seed) << n;
    }
    EXPECT_FLOAT_EQ(pitch_of(xr_ruvo_RUVO_LChan), 1.0f);
}

TEST_F(ShellSound, EffectsCycleThroughThirtyTwoChannels) {
    xr_ruvo_RUVO_LChan = 0;
    for (int i = 0; i < 32; ++i) xr_ruvo_PlaySFX(12, 1);
    EXPECT_EQ(xr_ruvo_RUVO_LChan, 0);
    xr_ruvo_PlaySFX(12, 1);
    EXPECT_EQ(xr_ruvo_RUVO_LChan, 1) << "the 33rd cuts off the first";

    xr_ruvo_RUVO_Set[SET_SFX_VOLUME] = 0;
    xr_ruvo_PlaySFX(12, 1, 1);
    EXPECT_EQ(xr_ruvo_RUVO_LChan, 2) << "silent effects still take a channel";
    EXPECT_FLOAT_EQ(gain_of(2), 0.0f);
    xr_ruvo_RUVO_Set[SET_SFX_VOLUME] = 25;
    xr_ruvo_PlaySFX(12, 1, 0.5f);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_SFX_VOLUME], 10);
    EXPECT_FLOAT_EQ(gain_of(3), 0.5f);
}

TEST_F(ShellSound, TunesByNameWithPauseAndResume) {
    xr_ruvo_PlayTune(String("-1"), 1);
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 0) << "no last tune yet";
    EXPECT_EQ(xr_ruvo_RUVO_LastTune.Length(), 0);

    xr_ruvo_PlayTune(String("Aqua"), 1);
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 1);
    EXPECT_EQ(xr_audio_device->MusicState(), 1);
    xr_ruvo_ResumeTune();
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 1) << "resuming what plays does nothing";
    xr_ruvo_PauseTune();
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 2);
    EXPECT_EQ(xr_audio_device->MusicState(), 2);
    xr_ruvo_PauseTune();
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 2);
    xr_ruvo_ResumeTune();
    EXPECT_EQ(xr_audio_device->MusicState(), 1);

    xr_ruvo_StopTune();
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 0);
    xr_ruvo_ResumeTune();
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 0);
    xr_ruvo_PlayTune(String("-1"), 1);
    EXPECT_EQ(xr_ruvo_RUVO_LastTune, String("Aqua"));
    EXPECT_EQ(xr_audio_device->MusicState(), 1);

    xr_ruvo_RUVO_Set[SET_MUSIC_VOLUME] = 4;
    xr_ruvo_TrackVolumes();
    EXPECT_FLOAT_EQ(gain_of(gxtkAudio::MUSIC), 0.4f);
}

}  // namespace
