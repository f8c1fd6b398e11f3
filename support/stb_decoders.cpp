// The image and Ogg Vorbis decoders, compiled here from the system's stb
// headers instead of taken from its shared library: the checked builds then
// check their memory use too, and the fuzzers see inside them.
// Others' code, so built without our warnings (see CMakeLists.txt).
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <stb_vorbis.h>
