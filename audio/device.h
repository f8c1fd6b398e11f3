// The sound device on OpenAL: 32 effect channels and one music channel, each
// playing a whole decoded clip held in one OpenAL buffer.
#pragma once

#include <vector>

#include "runtime/object.h"
#include "runtime/string.h"

#include <AL/alc.h>

class gxtkSample : public Object {
public:
    unsigned buffer = 0;
    // The device the buffer was made on (gxtkAudio::generation then): buffer
    // names are the device's own, and another's may hold the same name.
    int generation = 0;

    gxtkSample() {}
    explicit gxtkSample(unsigned name);
    ~gxtkSample() override;

    void SetBuffer(unsigned name);
    // Queues the buffer for deletion once no source uses it.
    virtual int Discard();
};

struct gxtkChannel {
    unsigned source;
    gxtkSample* sample;
    int flags;
    int state;  // 0 stopped, 1 playing, 2 paused

    // The channel's source: created on first use, or taken from a finished
    // effect channel when the driver has no more; 0 when none can be had.
    unsigned AL_Source();
};

class gxtkAudio : public Object {
public:
    enum { CHANNELS = 33, MUSIC = 32 };

    static gxtkAudio* audio;
    // Counts the devices made; samples of an earlier one are no longer ours
    // to delete.
    static int generation;
    // Buffer names of the current device waiting until no source holds them.
    static std::vector<unsigned> discarded;

    ALCdevice* alDevice = nullptr;
    ALCcontext* alContext = nullptr;
    gxtkChannel channels[CHANNELS] = {};

    gxtkAudio();
    void mark() override;
    // Stops the mixing and lets the device go, at the program's end: before
    // the C runtime closes its streams, which a device writing to a file
    // still writes to from its mixing thread. Later sound calls do nothing.
    void Close();

    virtual int Suspend();
    virtual int Resume();
    virtual gxtkSample* LoadSample(String path);
    virtual bool LoadSample__UNSAFE__(gxtkSample* sample, String path);
    virtual int PlaySample(gxtkSample* sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    virtual int ChannelState(int channel);
    virtual int SetVolume(int channel, float volume);
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);
    virtual int PlayMusic(String path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);
    // Decodes a music file ahead of time; playing the same path later starts
    // at once instead of decoding it again.
    virtual int PrepareMusic(String path);

    // The last music decoded, kept for the next PlayMusic of the same path.
    String musicPath;
    gxtkSample* musicSample = nullptr;

    // Deletes the discarded buffers that no source holds any more.
    static void FlushDiscarded();
};
