// xr_ruvo_Text on any text: every UTF-16 unit, inline icon marks and line
// breaks anywhere, under a few styles and places.
//
// Input: one byte of style, one of place, then the text as little-endian
// UTF-16 units.
#include <cmath>
#include <cstdint>
#include <vector>

#include "game/modules.h"
#include "shell/draw.h"
#include "tests/fuzz/fuzz_file.h"

namespace {

const int kFont = 99;  // the slot the game loads its font into

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    xr_modules_init();
    xr_ruvo_RUVO_Font = kFont;
    xr_ruvo_RUVO_ImgD[kFont] = 128;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    static const float kRotations[8] = {0, 90, 180, 270, 45, -30, 359, 720};
    static const float kSizes[4] = {1, 0.5f, 2, 4};
    static const float kAligns[4] = {0, 1, -1, 2};
    static const float kPlaces[4][2] = {{400, 300}, {0, 0}, {-150, 620}, {799, 599}};
    const uint8_t style = data[0], place = data[1];

    xr_ruvo_Sprtup = 0;
    xr_ruvo_ResetDraw();
    xr_ruvo_KeyPadMouse = style & 1;
    xr_ruvo_SetRot(kRotations[(style >> 1) & 7]);
    xr_ruvo_SetSize(kSizes[(style >> 4) & 3]);
    const float alignX = kAligns[style >> 6], alignY = kAligns[place & 3];
    const float x = kPlaces[(place >> 2) & 3][0], y = kPlaces[(place >> 2) & 3][1];
    const float wave = place & 16 ? 6.0f : 0.0f;

    std::vector<Char> units((size - 2) / 2);
    for (size_t i = 0; i < units.size(); ++i) units[i] = Char(data[2 + 2 * i] | data[3 + 2 * i] << 8);
    String text(units.data(), int(units.size()));

    xr_ruvo_Text(x, y, text, alignX, alignY, float(place >> 5), wave);

    // Nothing but glyphs of the font, at most one a unit, each a frame the
    // font has, at a real place.
    FUZZ_CHECK(xr_ruvo_Sprtup >= 0 && xr_ruvo_Sprtup <= RUVO_DRAW_LIMIT + 1);
    FUZZ_CHECK(size_t(xr_ruvo_Sprtup) <= units.size());
    for (int n = 0; n < xr_ruvo_Sprtup; ++n) {
        const float* cmd = xr_ruvo_RUVO_Draw.Data() + RUVO_DRAW_FLOATS * n;
        FUZZ_CHECK(cmd[CMD_TYPE] == RUVO_CMD_IMAGE && cmd[CMD_IMAGE] == kFont);
        FUZZ_CHECK(cmd[CMD_FRAME] >= 1 && cmd[CMD_FRAME] <= 127);
        FUZZ_CHECK(std::isfinite(cmd[CMD_X]) && std::isfinite(cmd[CMD_Y]));
    }
    return 0;
}
