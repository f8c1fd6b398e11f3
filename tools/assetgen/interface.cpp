#include "tools/assetgen/assets.h"
namespace art {
Image buttons(const FontSet&) { return Image(256, 256); }
Image icons(const FontSet&) { return Image(512, 512); }
Image rings() { return Image(512, 512); }
Image optionIcons(const FontSet&) { return Image(476, 476); }
Image scoreboard(const FontSet&) { return Image(256, 256); }
}
