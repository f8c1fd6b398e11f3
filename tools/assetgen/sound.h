// Sound effects and music, synthesised sample by sample.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

constexpr int kRate = 44100;

// Mono or interleaved stereo samples, nominally -1..1.
struct Clip {
    int channels = 1;
    std::vector<float> samples;
    size_t frames() const { return samples.size() / size_t(channels); }
};

// Scales a clip so that its largest sample is peak (a fraction of full scale).
void normalise(Clip& clip, float peak);

// 16-bit PCM WAV. Samples are rounded, never wrapped.
void writeWAV(const std::string& path, const Clip& clip);
// Ogg Vorbis through libvorbisenc, with a fixed stream serial number so that
// the bytes depend on the samples alone.
void writeOgg(const std::string& path, const Clip& clip);

Clip treasureChime();
Clip hit();
Clip lastLife();
Clip sonarPing();
Clip studioJingle();
Clip menuMove();
Clip menuSelect();

// "Aqua", the music of play: a whole number of bars that loops seamlessly.
Clip aqua();

}  // namespace audio
