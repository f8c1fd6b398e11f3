// Decoders for whole sound clips: PCM WAV and Ogg Vorbis.
//
// Each returns a malloc'd buffer the caller frees, or null. length is in
// sample frames; format is bytes per sample (1 or 2).
#pragma once

#include <cstdio>

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz);
unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz);
