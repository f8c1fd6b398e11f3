#include "tools/assetgen/assets.h"
namespace art {
Image studioEmblem(int s) { return Image(s, s); }
Image titleLogo(const FontSet&) { return Image(1024, 512); }
Image menuBackdrop() { return Image(2048, 2048); }
}
