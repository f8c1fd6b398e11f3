// The PNG writer the tests save frames with, compiled from the system's stb
// header, as the decoders are: every build of the tests has it, cross builds
// included. Others' code, built without our warnings.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
