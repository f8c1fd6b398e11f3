// The main menu: the first level (Start Game / Options / Credits / Quit),
// the difficulty list with its Top 5 panel, and the return from a game.
#include <algorithm>

#include "game/mygame.h"
#include "game/world.h"
#include "runtime/debug.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/menus.h"
#include "shell/scores.h"
#include "shell/sound.h"
#include "shell/state.h"

namespace {

const int kItemHeight = 48;

bool latch_free() {
    return xr_ruvo_kdis[LATCH_MENU] == 0;
}

void choose_first_level(int item) {
    xr_ruvo_LockKeys();
    xr_ruvo_PlaySFX(SFX_CONFIRM);
    switch (item) {
    case 0:
        xr_ruvo_RUVO_MenuPos[POS_LEVEL] = 2;
        xr_ruvo_RUVO_MenuPos[POS_STARTED] = 1;
        break;
    case 1:
        xr_ruvo_RUVO_OptCred = OVERLAY_OPTIONS;
        xr_ruvo_RUVO_MenuPos[POS_OPT_TARGET] = 128;
        break;
    case 2:
        xr_ruvo_RUVO_OptCred = OVERLAY_CREDITS;
        break;
    default:
        xrError(String());
        break;
    }
}

// The best five of the difficulty under the cursor, and the last five as
// markers whose height shows each score against the best.
void top_five(float x0) {
    const float H = float(xr_ruvo_jscrh);
    xr_ruvo_ResetDraw();
    xr_ruvo_DrawImg(IMG_SCOREBOARD, x0, H - 190, 0);
    xr_ruvo_SetSize(0.5f);
    xr_ruvo_Text(x0 - 64, H - 286, String("Top 5"), 1, 1, 0, 0);
    const int c = xr_ruvo_RUVO_MenuPos[POS_LEVEL_CURSOR];
    if (c < 0 || c >= xr_ruvo_RUVO_MenuPos[POS_ITEMS]) return;
    const int* table = xr_ruvo_RUVO_Score.Data() + SCORE_TABLE * (c + 1);
    for (int k = 0; k < SCORE_PLACES; ++k)
        xr_ruvo_Text(x0 - 56, H - 246 + float(28 * k), xr_ruvo_rstr(String(table[k]), 8, String(" ")), 1, 1, 0, 0);
    const float best = table[0] == 0 ? 1 : float(table[0]);
    xr_ruvo_SetSize(0.4f);
    for (int k = 0; k < SCORE_PLACES; ++k) {
        xr_ruvo_Ink(k + 1, 1);
        xr_ruvo_SetRot(float(15 * k));
        const float height = 40 * float(table[SCORE_RECENT + k]) / best;
        xr_ruvo_DrawImg(IMG_PARTICLE_STARS, x0 - 100 + float(22 * k), H - 78 - height, 0);
    }
    xr_ruvo_ResetDraw();
}

}  // namespace

int c_MyGame::p_TBut(float x, float y, String caption, int state, int height) {
    if (state != 0 && state != 1) return 0;
    const int end = xr_ruvo_Text(x, y, state == 1 ? String("> ") + caption : caption, 0, 1, 0, 0);
    const int band = height - 8;
    return xr_ruvo_MouseIn(x, y - float(band / 2), float(end) - x, float(band));
}

int c_MyGame::p_Menu_Basic(Array<String> items) {
    Array<int> pos = xr_ruvo_RUVO_MenuPos;
    const int n = items.Length();
    const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);
    pos[POS_SLIDE] += 32;
    xr_ruvo_ResetDraw();
    pos[POS_ITEMS] = n;

    int& cursor = pos[POS_LEVEL_CURSOR];
    int result = -1;
    for (int i = 0; i < n; ++i) {
        const bool hit = p_TBut(W * 0.25f, H - float(kItemHeight * (n - i)), items[i], i == cursor ? 1 : 0, kItemHeight);
        if (hit && latch_free() && cursor != i) {
            cursor = i;
            xr_ruvo_PlaySFX(SFX_MOVE);
            xr_ruvo_LockKeys();
        }
        if (i == cursor && latch_free() && (xr_ruvo_Held(RUVO_BUTTON1) || hit)) {
            result = i + 1;
            xr_ruvo_PlaySFX(SFX_CONFIRM);
            xr_ruvo_LockKeys();
        }
    }

    const bool up = xr_ruvo_Held(RUVO_UP), down = xr_ruvo_Held(RUVO_DOWN);
    if (up && latch_free()) {
        --cursor;
        xr_ruvo_LockKeys();
        xr_ruvo_PlaySFX(SFX_MOVE);
    }
    if (down && latch_free()) {
        ++cursor;
        xr_ruvo_LockKeys();
        xr_ruvo_PlaySFX(SFX_MOVE);
    }
    if (cursor < 0) cursor = n - 1;
    if (cursor >= n) cursor = 0;

    xr_ruvo_ResetDraw();
    xr_ruvo_Alpha(0.75f);
    const bool back = xr_ruvo_Button(IMG_ICONS, 64, 64, ICON_BACK);
    const bool cancel = xr_ruvo_Held(RUVO_BUTTON2) || xr_ruvo_Held(RUVO_BUTTON3) || xr_ruvo_Held(RUVO_MENU);
    if ((back || cancel) && latch_free()) {
        pos[POS_LEVEL] = 1;
        xr_ruvo_LockKeys();
        xr_ruvo_PlaySFX(SFX_CONFIRM);
    }
    xr_ruvo_ResetDraw();

    if (!xr_ruvo_mdAll && !up && !down && !xr_ruvo_Held(RUVO_BUTTON1) && !cancel) xr_ruvo_kdis[LATCH_MENU] = 0;
    return result;
}

int c_MyGame::p_Menu_A() {
    Array<int> pos = xr_ruvo_RUVO_MenuPos;
    const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);
    const bool quit = xr_ruvo_HasQuit == 1;
    const int last = quit ? 3 : 2;
    static const char* const kItems[] = {"Start Game", "Options", "Credits", "Quit"};

    int& cursor = pos[POS_FIRST_CURSOR];
    for (int k = 0; k <= last; ++k) {
        const float y = H - 192 + float(kItemHeight * k + (quit ? 0 : kItemHeight));
        const bool hit = p_TBut(W * 0.25f, y, String(kItems[k]), k == cursor ? 1 : 0, kItemHeight);
        if (!hit || !latch_free()) continue;
        if (k != cursor) {
            cursor = k;
            xr_ruvo_PlaySFX(SFX_MOVE);
            xr_ruvo_LockKeys();
        } else {
            choose_first_level(k);
        }
    }

    const bool up = xr_ruvo_Held(RUVO_UP), down = xr_ruvo_Held(RUVO_DOWN);
    if (latch_free() && ((up && cursor > 0) || (down && cursor < last))) {
        cursor += up && cursor > 0 ? -1 : 1;
        xr_ruvo_PlaySFX(SFX_MOVE);
        xr_ruvo_LockKeys();
    }
    const bool press = xr_ruvo_Held(RUVO_BUTTON1);
    if (press && latch_free()) choose_first_level(cursor);
    if (!xr_ruvo_mdAll && !up && !down && !press && !xr_ruvo_Held(RUVO_BUTTON2)) xr_ruvo_kdis[LATCH_MENU] = 0;
    return 0;
}

int c_MyGame::p_MainMenu() {
    Array<int> pos = xr_ruvo_RUVO_MenuPos;
    const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);
    xr_ruvo_SetCLSCol(80, 140, 80, 1);
    if (!xr_ruvo_mdAll) xr_ruvo_kdis[LATCH_MAIN_CLICK] = 0;

    // The backdrop's three layers fly in from above, the left and below.
    const int b = pos[POS_INTRO];
    if (b <= 139) pos[POS_INTRO] = std::min(b + 4, 140);
    xr_ruvo_ResetDraw();
    xr_ruvo_SetSize(0.85f);
    xr_ruvo_DrawImg(IMG_MENU, W / 2, H / 2 - float(8 * std::max(0, 140 - b)), 0);
    xr_ruvo_DrawImg(IMG_MENU, W / 2 - float(8 * std::max(0, 120 - b)), H / 2, 2);
    xr_ruvo_DrawImg(IMG_MENU, W / 2, H / 2 + float(8 * std::max(0, 100 - b)), 1);
    xr_ruvo_ResetDraw();

    if (pos[POS_LEVEL] == 2) {
        const int g = p_Menu_Basic(xr_ruvo_RUVO_Levels);
        if (g >= 0) xr_ruvo_Goto(MODE_START, g);
    }

    const float l = -2 * float(pos[POS_SLIDE]);
    xr_ruvo_ResetDraw();
    xr_ruvo_SetCol(100, 100, 0, 0.75f);
    xr_ruvo_Triangle(l - 124, -128, W + l + 132, H + 128, l - 124, H + 128);
    xr_ruvo_SetCol(100, 50, 0, 0.75f);
    xr_ruvo_Triangle(-l - 128, -128, W - l + 132, -128, W - l + 132, H + 128);
    xr_ruvo_ResetDraw();

    if (pos[POS_LEVEL] == 1) {
        p_Menu_A();
        pos[POS_SLIDE] -= 32;
    }
    pos[POS_SLIDE] = std::max(0, std::min(pos[POS_SLIDE], xr_ruvo_jscrw));

    const int rise = std::max(0, 100 - b);
    xr_ruvo_ResetDraw();
    if (xr_ruvo_RUVO_Orientation == 0) {
        xr_ruvo_SetSize(0.4f);
        xr_ruvo_DrawImg(IMG_TITLE, W / 2, float(8 * (16 - rise)), 0);
    } else {
        xr_ruvo_SetSize(0.35f);
        xr_ruvo_DrawImg(IMG_TITLE, W / 2, float(8 * (20 - rise)), 0);
    }
    xr_ruvo_SetSize(1);
    xr_ruvo_DrawImg(IMG_ICONS, W - 64, 48, ICON_MAKER);

    // The panel slides in with the difficulty list.
    top_five(3 * W + l + 64);
    return 0;
}

int c_MyGame::p_GotoMenu() {
    xr_ruvo_RUVO_GameMode = MODE_MENU;
    xr_ruvo_StopTune();
    xr_ruvo_LockKeys();
    xr_ruvo_RecordScore(xr_ruvo_RUVO_GameType, int(xr_ruvo_plr[PLR_SCORE]));
    return 0;
}
