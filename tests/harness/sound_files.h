// Small sound files made by the tests themselves.
#pragma once

#include <string>
#include <vector>

// A PCM WAV file's bytes. Extra "fmt " bytes and chunks before "data" can be
// asked for; `dataSize` < 0 means the true size of `data`.
struct WavClip {
    int audioFormat = 1;
    int channels = 1;
    int hertz = 44100;
    int bits = 16;
    int fmtExtra = 0;
    std::string chunksBeforeData;
    std::string data;
    long dataSize = -1;
};
std::string MakeWav(const WavClip& clip);

// `frames` frames of a sine tone at full-scale `level`, 16-bit interleaved.
std::vector<short> Tone(int frames, int channels, int hertz, double frequency, double level);

// Ogg Vorbis bytes of interleaved 16-bit samples.
std::string EncodeOgg(const std::vector<short>& samples, int channels, int hertz);

std::string Bytes16(const std::vector<short>& samples);
