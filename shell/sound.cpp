#include "shell/sound.h"

#include "shell/data_paths.h"
#include "shell/state.h"
#include "support/data.h"
#include "support/random.h"
#include "support/math.h"

Array<c_Sound*> xr_ruvo_RUVO_SFX;
int xr_ruvo_RUVO_LChan;
String xr_ruvo_RUVO_LastTune;
int xr_ruvo_RUVO_MusicPlaying;

namespace {


// Settings 0 (music) and 1 (effects) are kept to 0..10 wherever they are used.
int volume_setting(int entry) {
    int v = xr_ruvo_RUVO_Set[entry];
    v = v < 0 ? 0 : v > 10 ? 10 : v;
    xr_ruvo_RUVO_Set[entry] = v;
    return v;
}

}  // namespace

String xr_ruvo_EffectPath(int n) {
    return String(xr_ruvo_EffectFile(xr_ruvo_RUVO_GameNum, n).c_str());
}

String xr_ruvo_TunePath(String name) {
    const std::string file = xr_ruvo_TuneFile(xr_ruvo_RUVO_GameNum, name.ToUtf8());
    return String::FromUtf8(file.data(), int(file.size()));
}

void xr_ruvo_sound_init() {
    gc_assign(xr_ruvo_RUVO_SFX, Array<c_Sound*>(100));
    xr_ruvo_RUVO_LChan = 0;
    xr_ruvo_RUVO_LastTune = String();
    xr_ruvo_RUVO_MusicPlaying = 0;
}

void xr_ruvo_sound_mark() {
    gc_mark_field(xr_ruvo_RUVO_SFX);
}

int xr_ruvo_LoadSFX(int n) {
    if (n < 0 || n > 99) return 0;
    xr_ruvo_RUVO_SFX[n] = nullptr;
    gc_assign(xr_ruvo_RUVO_SFX[n], xr_audio_LoadSound(xr_ruvo_EffectPath(n)));
    return 0;
}

int xr_ruvo_PlaySFX(int n, float rate, float volume, float pan) {
    if (n < 0 || n > 99) return 0;
    if (rate != -1) {
        rate = xr_math_Clamp(rate, 0.4f, 3);
    } else {
        // Interface sounds keep their pitch, but draw all the same, so the
        // game's random sequence does not depend on which sound played.
        float drawn = xr_random_Rnd2(0.7f, 1.3f);
        rate = n <= 90 ? drawn : 1;
    }
    volume = xr_math_Clamp(volume, 0, 1);
    pan = xr_math_Clamp(pan, -1, 1);
    int setting = volume_setting(SET_SFX_VOLUME);
    c_Sound* sound = xr_ruvo_RUVO_SFX[n];
    if (!sound) return 0;
    int channel = (xr_ruvo_RUVO_LChan + 1) % 32;
    xr_ruvo_RUVO_LChan = channel;
    xr_audio_StopChannel(channel);
    xr_audio_PlaySound(sound, channel, 0);
    xr_audio_SetChannelRate(channel, rate);
    xr_audio_SetChannelVolume(channel, volume * float(setting) * 0.1f);
    xr_audio_SetChannelPan(channel, pan);
    return 0;
}

int xr_ruvo_PlayTune(String name, int loop) {
    // "-1" asks for the last tune again; before any tune there is none to
    // play, rather than a track named "-1".
    if (name == String("-1")) name = xr_ruvo_RUVO_LastTune;
    if (name.Length() == 0) return 0;
    xr_ruvo_RUVO_LastTune = name;
    if (xr_ruvo_RUVO_MusicPlaying != 0) {
        xr_audio_device->StopMusic();
        xr_ruvo_RUVO_MusicPlaying = 0;
    }
    xr_audio_PlayMusic(xr_ruvo_TunePath(name), loop);
    xr_ruvo_RUVO_MusicPlaying = 1;
    xr_audio_SetMusicVolume(float(volume_setting(SET_MUSIC_VOLUME)) * 0.1f);
    return 0;
}

int xr_ruvo_PrepareTune(String name) {
    return xr_audio_device->PrepareMusic(xr_data_FixDataPath(xr_ruvo_TunePath(name)));
}

int xr_ruvo_PauseTune() {
    if (xr_ruvo_RUVO_MusicPlaying != 1) return 0;
    xr_ruvo_RUVO_MusicPlaying = 2;
    xr_audio_PauseMusic();
    return 0;
}

int xr_ruvo_ResumeTune() {
    if (xr_ruvo_RUVO_MusicPlaying != 2) return 0;
    xr_ruvo_RUVO_MusicPlaying = 1;
    xr_audio_ResumeMusic();
    return 0;
}

int xr_ruvo_StopTune() {
    xr_audio_StopMusic();
    xr_ruvo_RUVO_MusicPlaying = 0;
    return 0;
}

int xr_ruvo_TrackVolumes() {
    xr_audio_SetMusicVolume(float(volume_setting(SET_MUSIC_VOLUME)) * 0.1f);
    volume_setting(SET_SFX_VOLUME);
    return 0;
}
