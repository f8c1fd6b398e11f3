// The sound device on real OpenAL Soft, whose output goes to a WAV file that
// the tests read back while it is being written.
#include <algorithm>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include <AL/al.h>
#include <AL/alc.h>
#include <gtest/gtest.h>

#include "audio/audio.h"
#include "host/glfwgame.h"
#include "tests/harness/environment.h"
#include "tests/harness/scratch.h"
#include "tests/harness/sound_files.h"
#include "tests/harness/test_roots.h"
#include "tests/harness/files.h"

namespace fs = std::filesystem;

namespace {

// The tests' sound files and the device's output: made before the first
// test, gone after the last.
std::unique_ptr<ScratchFolder> g_folder;
fs::path output() { return *g_folder / "out.wav"; }
const int kRate = 44100;
const double kPi = 3.14159265358979323846;

// OpenAL Soft reads its configuration once: point it at a wave-file writer
// with few sources before anything opens a device.
class WaveOutput : public ::testing::Environment {
public:
    void SetUp() override {
        g_folder = std::make_unique<ScratchFolder>("audio");
        std::ofstream(*g_folder / "alsoft.conf") << "[general]\ndrivers = wave\nchannels = mono\n"
                                                    "sample-type = int16\nfrequency = 44100\nsources = 8\n"
                                                    "[wave]\nfile = " << output().string() << "\n";
        SetEnv("ALSOFT_CONF", (*g_folder / "alsoft.conf").u8string().c_str());
    }
    void TearDown() override { g_folder.reset(); }
};
const auto* const kWave = ::testing::AddGlobalTestEnvironment(new WaveOutput);

void wait_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int al_state(unsigned source) {
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

class Audio : public ::testing::Test {
protected:
    XrGlfwGame host;
    gxtkAudio* audio = nullptr;
    gxtkSample* tone = nullptr;
    gxtkSample* blip = nullptr;

    void SetUp() override {
        audio = new gxtkAudio();
        gc_assign(test_roots[0], audio);
        ASSERT_NE(audio->alContext, nullptr);
        tone = LoadClip("tone.wav", 20000);
        blip = LoadClip("blip.wav", 2205);
        gc_assign(test_roots[1], tone);
        gc_assign(test_roots[2], blip);
    }
    // Each test has a device of its own, and the output file with it.
    void TearDown() override {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(audio->alContext);
        alcCloseDevice(audio->alDevice);
        for (gc_object*& root : test_roots) root = nullptr;
    }
    gxtkSample* LoadClip(const char* name, int frames) {
        WavClip clip;
        clip.data = Bytes16(Tone(frames, 1, kRate, 440, 0.5));
        std::ofstream(*g_folder / name, std::ios::binary) << MakeWav(clip);
        return audio->LoadSample(PathText(*g_folder / name));
    }
    // Samples written to the output so far.
    size_t Written() { return fs::exists(output()) ? (fs::file_size(output()) - 44) / 2 : 0; }
    // Loudness (RMS) of what was written after sample `from`.
    double LevelSince(size_t from) {
        std::ifstream in(output(), std::ios::binary);
        in.seekg(std::streamoff(44 + 2 * from));
        double sum = 0;
        size_t n = 0;
        short v;
        while (in.read(reinterpret_cast<char*>(&v), 2)) {
            sum += double(v) * v;
            ++n;
        }
        return n ? std::sqrt(sum / double(n)) : 0;
    }
    // What the output held over a while, once the mixer has caught up.
    double LevelOver(int ms) {
        wait_ms(120);
        size_t from = Written();
        wait_ms(ms);
        return LevelSince(from);
    }
};

TEST_F(Audio, PlayingIsHeardAndPausedIsNot) {
    ASSERT_EQ(audio->PlaySample(tone, 0, 1), 0);
    EXPECT_GT(LevelOver(200), 3000);
    audio->PauseChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 2);
    EXPECT_LT(LevelOver(200), 30);
    audio->ResumeChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 1);
    EXPECT_GT(LevelOver(200), 3000);
    audio->StopChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 0);
    EXPECT_LT(LevelOver(200), 30);
}

TEST_F(Audio, SuspendKeepsWhatTheGamePaused) {
    audio->PlaySample(tone, 1, 1);
    audio->PlaySample(tone, 2, 1);
    audio->PauseChannel(1);
    audio->Suspend();
    EXPECT_LT(LevelOver(150), 30);
    EXPECT_EQ(audio->ChannelState(1), 2);
    EXPECT_EQ(audio->ChannelState(2), 1) << "suspension is not the game's pause";
    audio->Resume();
    EXPECT_EQ(al_state(audio->channels[2].source), AL_PLAYING);
    EXPECT_EQ(al_state(audio->channels[1].source), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(1), 2);
    EXPECT_GT(LevelOver(150), 3000);
}

TEST_F(Audio, EndedClipsReportStoppedAndFlagsLoop) {
    audio->PlaySample(blip, 4, 0);
    EXPECT_EQ(audio->channels[4].state, 1);
    wait_ms(300);
    EXPECT_EQ(audio->ChannelState(4), 0) << "nobody stopped it; it ended";

    for (int flags : {1, 2}) {
        audio->PlaySample(blip, 3, flags);
        ALint looping = 0;
        alGetSourcei(audio->channels[3].source, AL_LOOPING, &looping);
        EXPECT_EQ(looping, 1) << flags;
    }
    wait_ms(300);
    EXPECT_EQ(audio->ChannelState(3), 1);
}

// The sources the device will still make. The configuration asks for eight;
// OpenAL Soft 1.24 (the Windows build's) gives one more, for stereo.
int FreeSources() {
    std::vector<ALuint> made;
    for (;;) {
        ALuint source = 0;
        alGetError();
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR) break;
        made.push_back(source);
    }
    alDeleteSources(ALsizei(made.size()), made.data());
    return int(made.size());
}

// A few sources in all, one of them the music channel's since construction.
TEST_F(Audio, ChannelsShareSourcesButNeverTheMusicOne) {
    unsigned music = audio->channels[gxtkAudio::MUSIC].source;
    ASSERT_NE(music, 0u);
    const int sources = FreeSources();
    ASSERT_GE(sources, 2);
    ASSERT_LT(sources + 2, gxtkAudio::MUSIC) << "two more effect channels must find every source taken";
    const int next = sources + 1, last = sources + 2;
    for (int c = 0; c < sources; ++c) ASSERT_EQ(audio->PlaySample(blip, c, 0), 0) << c;
    wait_ms(300);
    unsigned first = audio->channels[0].source;
    ASSERT_EQ(audio->PlaySample(tone, next, 1), 0);
    EXPECT_EQ(audio->channels[next].source, first);
    EXPECT_EQ(audio->channels[0].source, 0u);

    for (int c = 1; c < sources; ++c) audio->PlaySample(tone, c, 1);
    EXPECT_EQ(audio->PlaySample(tone, last, 0), -1) << "every source busy";
    EXPECT_EQ(audio->SetVolume(last, 0.5f), 0);
    EXPECT_EQ(audio->channels[last].source, 0u);
    EXPECT_EQ(audio->channels[gxtkAudio::MUSIC].source, music);
}

TEST_F(Audio, MissingMusicLeavesItStopped) {
    EXPECT_EQ(audio->PlayMusic(PathText(*g_folder / "no-such.ogg"), 1), -1);
    EXPECT_EQ(audio->MusicState(), 0);
    EXPECT_EQ(al_state(audio->channels[gxtkAudio::MUSIC].source), AL_INITIAL);

    EXPECT_EQ(audio->PlayMusic(PathText(*g_folder / "tone.wav"), 1), 0);
    EXPECT_EQ(audio->MusicState(), 1);
    audio->PauseMusic();
    EXPECT_EQ(audio->MusicState(), 2);
    audio->ResumeMusic();
    EXPECT_EQ(audio->MusicState(), 1);
    audio->StopMusic();
    EXPECT_EQ(audio->MusicState(), 0);
}

TEST_F(Audio, MusicDecodedOnceIsPlayedAgainWithoutDecoding) {
    const String path = PathText(*g_folder / "tone.wav");
    ASSERT_EQ(audio->PrepareMusic(path), 0);
    gxtkSample* prepared = audio->musicSample;
    ASSERT_NE(prepared, nullptr);
    EXPECT_EQ(audio->MusicState(), 0) << "prepared, not playing";
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(audio->PlayMusic(path, 1), 0);
        EXPECT_EQ(audio->channels[gxtkAudio::MUSIC].sample, prepared) << "the same decoded clip";
        EXPECT_EQ(audio->MusicState(), 1);
    }
    EXPECT_EQ(audio->PlayMusic(PathText(*g_folder / "blip.wav"), 0), 0);
    EXPECT_NE(audio->musicSample, prepared) << "another track replaces it";
    EXPECT_EQ(audio->PrepareMusic(PathText(*g_folder / "no-such.ogg")), -1);
}

TEST_F(Audio, DiscardedBufferIsDeletedOnceNoSourceHoldsIt) {
    gxtkSample* doomed = LoadClip("doomed.wav", 2205);
    unsigned name = doomed->buffer;
    audio->PlaySample(doomed, 3, 0);
    audio->StopChannel(3);  // stored state 0: the flush will not detach it
    doomed->Discard();
    EXPECT_EQ(doomed->buffer, 0u);

    audio->PlaySample(blip, 4, 0);
    EXPECT_TRUE(alIsBuffer(name)) << "still attached to channel 3's source";
    ASSERT_EQ(gxtkAudio::discarded.size(), 1u);

    audio->PlaySample(blip, 3, 0);  // channel 3 lets go of it
    audio->PlaySample(blip, 5, 0);
    EXPECT_FALSE(alIsBuffer(name));
    EXPECT_TRUE(gxtkAudio::discarded.empty());
}

// Buffer names are a device's own: a sample of an earlier device, let go of
// once a new device is in use, leaves the new device's buffer of the same
// name alone.
TEST_F(Audio, ASampleOfAnEarlierDeviceLeavesTheNewOnesBuffersAlone) {
    const std::vector<unsigned> earlier = {tone->buffer, blip->buffer};
    gxtkAudio* first = audio;
    audio = new gxtkAudio();
    gc_assign(test_roots[3], audio);
    ASSERT_NE(audio->alContext, nullptr);
    gxtkSample* fresh = LoadClip("fresh.wav", 2205);
    gxtkSample* other = LoadClip("other.wav", 2205);
    ASSERT_NE(fresh, nullptr);
    ASSERT_NE(std::find(earlier.begin(), earlier.end(), fresh->buffer), earlier.end())
        << "the new device gives out the same names again, which is what makes this matter";

    tone->Discard();
    blip->Discard();
    gxtkAudio::FlushDiscarded();
    EXPECT_TRUE(alIsBuffer(fresh->buffer));
    EXPECT_TRUE(alIsBuffer(other->buffer));
    EXPECT_EQ(audio->PlaySample(fresh, 0, 0), 0);

    alcMakeContextCurrent(nullptr);
    alcDestroyContext(audio->alContext);
    alcCloseDevice(audio->alDevice);
    audio = first;
}

TEST_F(Audio, ModuleWrapsTheDevice) {
    xr_audio_SetAudioDevice(audio);
    EXPECT_EQ(xr_audio_PlaySound(nullptr, 0, 0), 0);
    EXPECT_EQ(xr_audio_LoadSound(String("no-such-sound.wav")), nullptr);
    c_Sound* sound = xr_audio_LoadSound(PathText(*g_folder / "tone.wav"));
    ASSERT_NE(sound, nullptr);
    xr_audio_PlaySound(sound, 6, 1);
    xr_audio_SetChannelRate(6, 2.0f);
    xr_audio_SetChannelPan(6, float(kPi / 2));
    float pitch = 0, x = 0, y = 0, z = 0;
    alGetSourcef(audio->channels[6].source, AL_PITCH, &pitch);
    alGetSource3f(audio->channels[6].source, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(pitch, 2.0f);
    EXPECT_NEAR(x, 1.0f, 1e-6);
    EXPECT_NEAR(z, 0.0f, 1e-6);
    EXPECT_EQ(xr_audio_PlayMusic(PathText(*g_folder / "no-such.ogg"), 0), -1);
    xr_audio_device = nullptr;
}

}  // namespace
