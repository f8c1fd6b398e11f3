#include "audio/device.h"

#include <cmath>
#include <cstdlib>

#include <AL/al.h>
#include <AL/alc.h>

#include "host/xrgame.h"
#include "runtime/debug.h"

gxtkAudio* gxtkAudio::audio;
int gxtkAudio::generation;
std::vector<unsigned> gxtkAudio::discarded;

namespace {

int source_state(unsigned source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// The stored state, with a playing clip that has ended counted as stopped.
int current_state(gxtkChannel& c) {
    if (c.state == 1 && source_state(c.source) == AL_STOPPED) c.state = 0;
    return c.state;
}

}  // namespace

gxtkSample::gxtkSample(unsigned name) : buffer(name), generation(gxtkAudio::generation) {}

void gxtkSample::SetBuffer(unsigned name) {
    buffer = name;
    generation = gxtkAudio::generation;
}

gxtkSample::~gxtkSample() {
    if (buffer && generation == gxtkAudio::generation) gxtkAudio::discarded.push_back(buffer);
}

int gxtkSample::Discard() {
    if (buffer && generation == gxtkAudio::generation) gxtkAudio::discarded.push_back(buffer);
    buffer = 0;
    return 0;
}

unsigned gxtkChannel::AL_Source() {
    if (source) return source;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() == AL_NO_ERROR) return source;
    source = 0;
    for (int i = 0; i < gxtkAudio::MUSIC; ++i) {
        gxtkChannel& other = gxtkAudio::audio->channels[i];
        if (&other == this || !other.source || current_state(other) != 0) continue;
        source = other.source;
        other.source = 0;
        break;
    }
    return source;
}

gxtkAudio::gxtkAudio() {
    audio = this;
    ++generation;
    discarded.clear();
    alDevice = alcOpenDevice(nullptr);
    if (!alDevice) alDevice = alcOpenDevice("Generic Hardware");
    if (!alDevice) alDevice = alcOpenDevice("Generic Software");
    if (!alDevice) {
        xrPrint(String("OpenAl error: alcOpenDevice failed"));
    } else {
        alContext = alcCreateContext(alDevice, nullptr);
        if (!alContext) {
            xrPrint(String("OpenAl error: alcCreateContext failed"));
        } else if (!alcMakeContextCurrent(alContext)) {
            xrPrint(String("OpenAl error: alcMakeContextCurrent failed"));
        }
    }
    alDistanceModel(AL_NONE);
    channels[MUSIC].AL_Source();
}

void gxtkAudio::Close() {
    if (!alDevice) return;
    alcMakeContextCurrent(nullptr);
    if (alContext) alcDestroyContext(alContext);
    alcCloseDevice(alDevice);
    alContext = nullptr;
    alDevice = nullptr;
}

void gxtkAudio::mark() {
    gc_mark_field(musicSample);
    for (gxtkChannel& c : channels)
        if (c.state != 0 && source_state(c.source) != AL_STOPPED) gc_mark_field(c.sample);
}

void gxtkAudio::FlushDiscarded() {
    if (discarded.empty()) return;
    for (gxtkChannel& c : audio->channels)
        if (c.state != 0 && source_state(c.source) == AL_STOPPED) alSourcei(c.source, AL_BUFFER, 0);
    size_t kept = 0;
    for (unsigned name : discarded) {
        alGetError();
        alDeleteBuffers(1, &name);
        if (alGetError() != AL_NO_ERROR) discarded[kept++] = name;
    }
    discarded.resize(kept);
}

int gxtkAudio::Suspend() {
    for (gxtkChannel& c : channels)
        if (c.state == 1 && source_state(c.source) == AL_PLAYING) alSourcePause(c.source);
    return 0;
}

int gxtkAudio::Resume() {
    for (gxtkChannel& c : channels)
        if (c.state == 1 && source_state(c.source) == AL_PAUSED) alSourcePlay(c.source);
    return 0;
}

gxtkSample* gxtkAudio::LoadSample(String path) {
    FlushDiscarded();
    gxtkSample* sample = new gxtkSample();
    return LoadSample__UNSAFE__(sample, path) ? sample : nullptr;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
    int length = 0, count = 0, format = 0, hertz = 0;
    unsigned char* data = XrGame::_game->LoadAudioData(path, &length, &count, &format, &hertz);
    if (!data) return false;
    ALenum alFormat = 0;
    if (format == 1 && count == 1) alFormat = AL_FORMAT_MONO8;
    if (format == 1 && count == 2) alFormat = AL_FORMAT_STEREO8;
    if (format == 2 && count == 1) alFormat = AL_FORMAT_MONO16;
    if (format == 2 && count == 2) alFormat = AL_FORMAT_STEREO16;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, alFormat, data, length * count * format, hertz);
    std::free(data);
    sample->SetBuffer(buffer);
    return true;
}

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    FlushDiscarded();
    gxtkChannel& c = channels[channel];
    if (!c.AL_Source()) return -1;
    alSourceStop(c.source);
    alSourcei(c.source, AL_BUFFER, ALint(sample->buffer));
    alSourcei(c.source, AL_LOOPING, flags ? 1 : 0);
    alSourcePlay(c.source);
    gc_assign(c.sample, sample);
    c.state = 1;
    c.flags = flags;
    return 0;
}

int gxtkAudio::StopChannel(int channel) {
    gxtkChannel& c = channels[channel];
    if (c.state != 0) {
        alSourceStop(c.source);
        c.state = 0;
    }
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    gxtkChannel& c = channels[channel];
    if (c.state != 1) return 0;
    if (source_state(c.source) == AL_STOPPED) {
        c.state = 0;
    } else {
        alSourcePause(c.source);
        c.state = 2;
    }
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel& c = channels[channel];
    if (c.state != 2) return 0;
    alSourcePlay(c.source);
    c.state = 1;
    return 0;
}

int gxtkAudio::ChannelState(int channel) {
    return current_state(channels[channel]);
}

int gxtkAudio::SetVolume(int channel, float volume) {
    if (unsigned source = channels[channel].AL_Source()) alSourcef(source, AL_GAIN, volume);
    return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
    if (unsigned source = channels[channel].AL_Source())
        alSource3f(source, AL_POSITION, std::sin(pan), 0, -std::cos(pan));
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    if (unsigned source = channels[channel].AL_Source()) alSourcef(source, AL_PITCH, rate);
    return 0;
}

int gxtkAudio::PrepareMusic(String path) {
    if (musicSample && musicSample->buffer && path == musicPath) return 0;
    gxtkSample* sample = LoadSample(path);
    if (!sample) return -1;
    musicPath = path;
    gc_assign(musicSample, sample);
    return 0;
}

// A whole track decodes in tens of milliseconds: a track played again (or
// prepared during loading) is not decoded in the middle of play.
int gxtkAudio::PlayMusic(String path, int flags) {
    StopMusic();
    if (PrepareMusic(path) != 0) return -1;
    PlaySample(musicSample, MUSIC, flags);
    return 0;
}

int gxtkAudio::StopMusic() {
    return StopChannel(MUSIC);
}

int gxtkAudio::PauseMusic() {
    return PauseChannel(MUSIC);
}

int gxtkAudio::ResumeMusic() {
    return ResumeChannel(MUSIC);
}

int gxtkAudio::MusicState() {
    return ChannelState(MUSIC);
}

int gxtkAudio::SetMusicVolume(float volume) {
    return SetVolume(MUSIC, volume);
}
