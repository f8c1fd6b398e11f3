#include "audio/audio.h"

#include "support/data.h"

gxtkAudio* xr_audio_device;

c_Sound* c_Sound::m_new(gxtkSample* sample) {
    gc_assign(m_sample, sample);
    return this;
}

void xr_audio_init() {
    xr_audio_device = nullptr;
}

void xr_audio_mark() {
    gc_mark_field(xr_audio_device);
}

int xr_audio_SetAudioDevice(gxtkAudio* device) {
    gc_assign(xr_audio_device, device);
    return 0;
}

c_Sound* xr_audio_LoadSound(String path) {
    gxtkSample* sample = xr_audio_device->LoadSample(xr_data_FixDataPath(path));
    if (!sample) return nullptr;
    return (new c_Sound())->m_new(sample);
}

int xr_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (sound && sound->m_sample) xr_audio_device->PlaySample(sound->m_sample, channel, flags);
    return 0;
}

int xr_audio_StopChannel(int channel) {
    return xr_audio_device->StopChannel(channel);
}

int xr_audio_SetChannelVolume(int channel, float volume) {
    return xr_audio_device->SetVolume(channel, volume);
}

int xr_audio_SetChannelPan(int channel, float pan) {
    return xr_audio_device->SetPan(channel, pan);
}

int xr_audio_SetChannelRate(int channel, float rate) {
    return xr_audio_device->SetRate(channel, rate);
}

int xr_audio_PlayMusic(String path, int flags) {
    return xr_audio_device->PlayMusic(xr_data_FixDataPath(path), flags);
}

int xr_audio_StopMusic() {
    return xr_audio_device->StopMusic();
}

int xr_audio_PauseMusic() {
    return xr_audio_device->PauseMusic();
}

int xr_audio_ResumeMusic() {
    return xr_audio_device->ResumeMusic();
}

int xr_audio_SetMusicVolume(float volume) {
    return xr_audio_device->SetMusicVolume(volume);
}
