// The audio module: what game code calls to play sounds and music.
#pragma once

#include "audio/device.h"

class c_Sound : public Object {
public:
    gxtkSample* m_sample = nullptr;

    c_Sound* m_new(gxtkSample* sample);
    c_Sound* m_new2() { return this; }
    void mark() override { gc_mark_field(m_sample); }
};

extern gxtkAudio* xr_audio_device;

void xr_audio_init();
void xr_audio_mark();

int xr_audio_SetAudioDevice(gxtkAudio* device);
c_Sound* xr_audio_LoadSound(String path);
int xr_audio_PlaySound(c_Sound* sound, int channel, int flags);
int xr_audio_StopChannel(int channel);
int xr_audio_SetChannelVolume(int channel, float volume);
int xr_audio_SetChannelPan(int channel, float pan);
int xr_audio_SetChannelRate(int channel, float rate);
int xr_audio_PlayMusic(String path, int flags);
int xr_audio_StopMusic();
int xr_audio_PauseMusic();
int xr_audio_ResumeMusic();
int xr_audio_SetMusicVolume(float volume);
