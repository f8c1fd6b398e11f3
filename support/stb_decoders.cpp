// The image and Ogg Vorbis decoders, compiled here from the system's stb
// headers instead of taken from its shared library: the checked builds then
// check their memory use too, and the fuzzers see inside them.
// Others' code, so built without our warnings (see CMakeLists.txt).

// Every picture of the game is a PNG. The other formats would also take
// damaged or foreign files: a TGA has no signature, so almost any bytes pass
// for one, and its header alone could have us fill hundreds of megabytes
// with nothing. The largest picture is 2048 a side.
#define STBI_ONLY_PNG
#define STBI_MAX_DIMENSIONS 8192
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <stb_vorbis.h>
