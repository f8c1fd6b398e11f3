#include "shell/menus.h"

#include <cmath>

#include "host/app.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/game_link.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "support/math.h"

Array<String> xr_ruvo_RUVO_Levels;

namespace {

const int kRowSpacing = 116;

// One row of the options screen.
struct Row {
    const char* caption;
    int setting, icon, min, max, style;
};
// The Back row changes no setting: the entry it names is one this game
// leaves unused.
const int kNoSetting = 99;
const Row kBack = {"Back", kNoSetting, OPTION_ICON_BACK, 0, 0, OPTION_ON_OFF};
const Row kOverscan = {"Overscan", SET_OVERSCAN, OPTION_ICON_OVERSCAN, 0, 10, OPTION_ON_OFF};
const Row kRows[] = {
    {"SFX", SET_SFX_VOLUME, OPTION_ICON_SFX, 0, 10, OPTION_ON_OFF},
    {"Music", SET_MUSIC_VOLUME, OPTION_ICON_MUSIC, 0, 10, OPTION_ON_OFF},
    {"Invert Y - Left Stick", SET_INVERT_STICK_Y, OPTION_ICON_INVERT_LEFT, 0, 1, OPTION_INVERTED},
    {"Invert Y - Right Stick", SET_INVERT_STICK2_Y, OPTION_ICON_INVERT_RIGHT, 0, 1, OPTION_INVERTED},
    {"Framerate", SET_FRAME_RATE, OPTION_ICON_FRAME_RATE, 0, 1, OPTION_ON_OFF},
};
const int kRowCount = sizeof kRows / sizeof kRows[0];

void leave_options() {
    xr_ruvo_RUVO_OptCred = OVERLAY_NONE;
    xr_ruvo_LockKeys();
    xr_ruvo_PlaySFX(SFX_CONFIRM);
    xr_ruvo_Save();
}

// The white marks at the screen corners that show where the overscan
// border lies.
void overscan_marks() {
    const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);
    xr_ruvo_ResetDraw();
    for (int corner = 0; corner < 4; ++corner) {
        const float ax = corner & 1 ? 2 : 0, ay = corner & 2 ? 2 : 0;
        const float x = corner & 1 ? W : 0, y = corner & 2 ? H : 0;
        xr_ruvo_Rect(x, y, 64, 24, ax, ay);
        xr_ruvo_Rect(x, y, 24, 64, ax, ay);
    }
}

}  // namespace

void xr_ruvo_menus_init() {
    gc_assign(xr_ruvo_RUVO_Levels, Array<String>(3));
    xr_ruvo_RUVO_Levels[0] = String("Easy");
    xr_ruvo_RUVO_Levels[1] = String("Normal");
    xr_ruvo_RUVO_Levels[2] = String("Hard");
}

void xr_ruvo_menus_mark() {
    gc_mark_field(xr_ruvo_RUVO_Levels);
}

bool xr_ruvo_Held(int slot) {
    return xr_ruvo_PlayKey(slot, RUVO_ALL_SETS) != 0;
}

int xr_ruvo_Button(int image, float x, float y, int frame) {
    if (image < 1 || image > 99) return 0;
    xr_ruvo_DrawImg(image, x, y, frame);
    const float side = xr_ruvo_RUVO_ImgW[image];
    return xr_ruvo_MouseIn_Centered(x, y, side * xr_ruvo_RUVO_DrawStyle[STYLE_SCALE_X],
                                     side * xr_ruvo_RUVO_DrawStyle[STYLE_SCALE_Y]);
}

int xr_ruvo_Goto(int mode, int type) {
    xr_ruvo_RUVO_GameMode = mode;
    if (type >= 0) xr_ruvo_RUVO_GameType = type;
    return 0;
}

int xr_ruvo_TiledBackdrop() {
    const int ms = xr_app_Millisecs();
    xr_ruvo_BGRot(float(ms / 64), 1, 0.4f);
    int e = (ms / 64) % 64;
    if (e < 0) e += 64;
    xr_ruvo_ResetDraw();
    xr_ruvo_SetCol(255, 255, 255, 0.2f);
    for (int i = -1; i <= 14; ++i)
        for (int j = 0; j <= 14; ++j)
            xr_ruvo_DrawImg(IMG_OPTION_ICONS, float(64 * i + e), float(64 * j - e), OPTION_ICON_BACKDROP);
    xr_ruvo_ResetDraw();
    return 0;
}

int xr_ruvo_Option(int y, int index, int row, int icon, String caption, int min, int max, int style) {
    Array<int> pos = xr_ruvo_RUVO_MenuPos;
    Array<int> kd = xr_ruvo_kdis;
    const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);
    const float fy = float(y);
    // Judged once: the press that selects a row does nothing else to it.
    const bool selected = row == pos[POS_OPT_CURSOR];
    if (index < 0 || index >= xr_ruvo_RUVO_Set.Length()) return 0;
    int value = xr_ruvo_RUVO_Set[index];

    if (selected && kd[LATCH_DRAGGED] == 0) {
        if (fy < 64) pos[POS_OPT_TARGET] += 16;
        else if (fy >= H - 63) pos[POS_OPT_TARGET] -= 16;
    }
    if (fy < -96 || fy > H + 96) return 0;

    xr_ruvo_Ink(row % 9 + 1, selected ? 1.25f : 0.6f);
    xr_ruvo_Alpha(selected ? 0.75f : 0.5f);
    xr_ruvo_Rect(W / 2 - 210, fy - 34, 420, 68, 0, 0);
    if (xr_ruvo_MouseIn(W / 2 - 210, fy - 34, 420, 68) && kd[LATCH_POINTER] == 0) {
        kd[LATCH_DRAGGED] = 0;
        if (!selected) {
            pos[POS_OPT_CURSOR] = row;
            kd[LATCH_TOGGLE] = kd[LATCH_POINTER] = 1;
            xr_ruvo_PlaySFX(SFX_MOVE);
        }
    }

    xr_ruvo_ResetDraw();
    xr_ruvo_SetCol(0, 0, 0, 0.5f);
    xr_ruvo_Rect(W / 2 - 209, fy - 33, 66, 66, 0, 0);
    xr_ruvo_SetCol(255, 255, 255, 1);
    xr_ruvo_DrawImg(IMG_OPTION_ICONS, W / 2 - 177, fy, icon);
    xr_ruvo_SetSize(0.5f);
    xr_ruvo_Text(W / 2 - 206, fy - 44, caption, 0, 1, 0, 0);
    xr_ruvo_SetSize(1);

    if (min == 0 && max == 1) {
        const char* word = style == OPTION_INVERTED ? (value == 1 ? "Inverted   " : "   Standard")
                                                    : (value == 1 ? "    On" : "Off   ");
        xr_ruvo_Text(W / 2 + 72, fy - 8, String(word), 1, 1, 0, 0);
        if (selected && xr_ruvo_MouseIn_Centered(W / 2 + 72, fy, 220, 62) && kd[LATCH_TOGGLE] == 0 &&
            (kd[LATCH_POINTER] == 0 || kd[LATCH_POINTER] == LATCH_POINTER_ON_SLIDER)) {
            value = value == max ? min : max;
            kd[LATCH_TOGGLE] = kd[LATCH_POINTER] = 1;
            xr_ruvo_PlaySFX(SFX_MOVE);
        }
    } else if (min == 0 && max == 10) {
        for (int i = 0; i <= 10; ++i) {
            const float x = W / 2 + float(22 * i - 88);
            if (value == i) xr_ruvo_Text(x, fy + 2, String("#"), 1, 1, 0, 0);
            else xr_ruvo_Text(x, fy - float(2 * i) + 2, String("."), 1, 1, 0, 0);
            if (selected && xr_ruvo_MouseIn_Centered(x - 6, fy, 22, 46)) {
                kd[LATCH_POINTER] = LATCH_POINTER_ON_SLIDER;
                if (value != i) {
                    value = i;
                    xr_ruvo_PlaySFX(SFX_MOVE);
                }
            }
        }
    }

    int result = 0;
    if (selected) {
        if (xr_ruvo_Held(RUVO_LEFT) && kd[LATCH_LEFTRIGHT] == 0) {
            --value;
            kd[LATCH_LEFTRIGHT] = 1;
            xr_ruvo_PlaySFX(SFX_MOVE);
        }
        if (xr_ruvo_Held(RUVO_RIGHT) && kd[LATCH_LEFTRIGHT] == 0) {
            ++value;
            kd[LATCH_LEFTRIGHT] = 1;
            xr_ruvo_PlaySFX(SFX_MOVE);
        }
        value = value < min ? min : value > max ? max : value;
        if (kd[LATCH_ACTIVATE] == 0 && (xr_ruvo_Held(RUVO_BUTTON1) || xr_ruvo_Held(RUVO_BUTTON2))) {
            value = value == min ? max : min;
            xr_ruvo_PlaySFX(SFX_CONFIRM);
            xr_ruvo_LockKeys();
            result = 1;
        }
    }
    xr_ruvo_RUVO_Set[index] = value;

    if (row == 0 && selected && kd[LATCH_POINTER] == 0 && xr_ruvo_MouseIn(64, fy - 34, W - 128, 68)) result = 1;
    xr_ruvo_ResetDraw();
    return result;
}

int xr_ruvo_Options() {
    Array<int> pos = xr_ruvo_RUVO_MenuPos;
    Array<int> kd = xr_ruvo_kdis;
    const int H = xr_ruvo_jscrh;
    xr_ruvo_TiledBackdrop();

    int current = pos[POS_OPT_CURRENT], target = pos[POS_OPT_TARGET], speed = pos[POS_OPT_SPEED];
    current = int(float(current) - float(current - target) * 0.125f);
    if (std::abs(current - target) <= 1) current = target;
    target = speed + (target < 128 ? target : 128);
    speed = speed < -8 ? -8 : speed > 8 ? 8 : speed;
    speed += speed > 0 ? -1 : speed < 0 ? 1 : 0;
    pos[POS_OPT_CURRENT] = current;
    pos[POS_OPT_TARGET] = target;
    pos[POS_OPT_SPEED] = speed;

    const bool overscan = xr_ruvo_isOuya == 1;
    const int last = kRowCount + (overscan ? 1 : 0);
    int y = current, row = 0;
    const int back = xr_ruvo_Option(y, kBack.setting, row, kBack.icon, String(kBack.caption), kBack.min, kBack.max,
                                    kBack.style);
    if (overscan) {
        y += kRowSpacing;
        ++row;
        xr_ruvo_Option(y, kOverscan.setting, row, kOverscan.icon, String(kOverscan.caption), kOverscan.min,
                       kOverscan.max, kOverscan.style);
        if (pos[POS_OPT_CURSOR] == row) overscan_marks();
    }
    for (const Row& r : kRows) {
        y += kRowSpacing;
        ++row;
        xr_ruvo_Option(y, r.setting, row, r.icon, String(r.caption), r.min, r.max, r.style);
    }

    if (back == 1) {
        pos[POS_OPT_CURSOR] = 0;
        leave_options();
    }
    xr_ruvo_RUVO_DebugMode = xr_ruvo_RUVO_Set[SET_FRAME_RATE];
    // A list pushed too far up springs back.
    if (current + (overscan ? 812 : 696) < H / 2) pos[POS_OPT_TARGET] += 8;

    if (xr_ruvo_mdAll && (kd[LATCH_POINTER] == 0 || kd[LATCH_POINTER] == LATCH_POINTER_DRAGGING)) {
        kd[LATCH_POINTER] = LATCH_POINTER_DRAGGING;
        pos[POS_OPT_SPEED] += 2 * xr_ruvo_msy;
        if (std::abs(pos[POS_OPT_SPEED]) > 3) kd[LATCH_DRAGGED] = 1;
    }

    const bool up = xr_ruvo_Held(RUVO_UP), down = xr_ruvo_Held(RUVO_DOWN);
    if (!xr_ruvo_Held(RUVO_BUTTON1) && !xr_ruvo_Held(RUVO_BUTTON2)) kd[LATCH_ACTIVATE] = 0;
    if (!xr_ruvo_Held(RUVO_LEFT) && !xr_ruvo_Held(RUVO_RIGHT)) kd[LATCH_LEFTRIGHT] = 0;
    if (!up && !down) kd[LATCH_UPDOWN] = 0;
    if (!xr_ruvo_mdAll) kd[LATCH_TOGGLE] = kd[LATCH_POINTER] = 0;

    int& cursor = pos[POS_OPT_CURSOR];
    if (kd[LATCH_UPDOWN] == 0 && ((up && cursor > 0) || (down && cursor < last))) {
        cursor += up && cursor > 0 ? -1 : 1;
        kd[LATCH_UPDOWN] = 1;
        xr_ruvo_PlaySFX(SFX_MOVE);
        kd[LATCH_DRAGGED] = 0;
    }

    const bool exit = xr_ruvo_Held(RUVO_BUTTON3) || xr_ruvo_Held(RUVO_MENU);
    if (exit && kd[LATCH_EXIT] == 0) {
        leave_options();
        kd[LATCH_DRAGGED] = 0;
    }
    if (!exit) kd[LATCH_EXIT] = 0;
    return 0;
}

int xr_ruvo_Pause_Menu() {
    Array<int> pos = xr_ruvo_RUVO_MenuPos;
    Array<int> kd = xr_ruvo_kdis;
    const int ms = xr_app_Millisecs();
    const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);

    xr_ruvo_ResetDraw();
    xr_ruvo_SetCol(255, 255, 255, 0.2f);
    const struct {
        int frame;
        float scale, rotation;
    } rings[] = {{1, 1, float(ms / 48)}, {2, 1.5f, -float(ms / 51)}, {1, 2, float(ms / 62)}};
    for (const auto& r : rings) {
        xr_ruvo_SetSize(r.scale);
        xr_ruvo_SetRot(r.rotation);
        xr_ruvo_DrawImg(IMG_RING, W - 256, H / 2, r.frame);
    }
    xr_ruvo_ResetDraw();
    xr_ruvo_Text(W - 256 + 64 * sind(float(ms / 40)), H / 2 - 32 * cosd(float(ms / 30)),
                 String("Paused"), 1, 1, float(ms) * 0.25f, 16);

    int& cursor = pos[POS_PAUSE_CURSOR];
    int& gear = pos[POS_PAUSE_GEAR];
    if (cursor == 2) gear = (gear + 1) % 360;
    const float x = float(pos[POS_PAUSE_X]);
    xr_ruvo_SetSize(0.75f);
    const bool quitHit = xr_ruvo_Button(IMG_ICONS, x, H / 2 - 128, ICON_QUIT);
    const bool resumeHit = xr_ruvo_Button(IMG_ICONS, x, H / 2, ICON_RESUME);
    const int gears[3][2] = {{ICON_GEAR_B, 1}, {ICON_GEAR_A, -2}, {ICON_GEAR_C, 4}};
    bool optionsHit = false;
    for (const auto& g : gears) {
        xr_ruvo_SetRot(float(gear * g[1]));
        optionsHit = xr_ruvo_Button(IMG_ICONS, x, H / 2 + 128, g[0]) || optionsHit;
    }
    xr_ruvo_ResetDraw();
    xr_ruvo_SetSize(1.025f);
    xr_ruvo_Alpha(0.5f);
    xr_ruvo_DrawImg(IMG_ICONS, x, H / 2 + float(128 * cursor - 128), ICON_HIGHLIGHT);
    xr_ruvo_ResetDraw();

    const bool up = xr_ruvo_Held(RUVO_UP), down = xr_ruvo_Held(RUVO_DOWN);
    const bool press = xr_ruvo_Held(RUVO_BUTTON1) || xr_ruvo_Held(RUVO_BUTTON2);
    if (kd[LATCH_PAUSE] == 0 && ((up && cursor > 0) || (down && cursor <= 1))) {
        cursor += up && cursor > 0 ? -1 : 1;
        pos[POS_PAUSE_IDLE] = 0;
        kd[LATCH_PAUSE] = 1;
        xr_ruvo_PlaySFX(SFX_MOVE);
    }
    int chosen = -1;
    if (kd[LATCH_PAUSE] == 0 && press) chosen = cursor;
    if (!up && !down && !press) kd[LATCH_PAUSE] = 0;
    // The pointer acts once it has been let go since the last choice: the
    // click that closed the options screen must not land on an icon here.
    if (xr_ruvo_mdis[LATCH_MENU] == 0) {
        if (quitHit) chosen = 0;
        else if (resumeHit) chosen = 1;
        else if (optionsHit) chosen = 2;
    }

    switch (chosen) {
    case 0:
        xr_ruvo_LockKeys();
        xr_ruvo_RUVO_Paused = 0;
        xr_ruvo_PlaySFX(SFX_CONFIRM);
        if (xr_ruvo_RUVO_EndofGame == 0) {
            xr_ruvo_RUVO_EndofGame = 1;
            xr_ruvo_RUVO_EndReason = 2;
        }
        break;
    case 1:
        xr_ruvo_LockKeys();
        xr_ruvo_RUVO_Paused = 0;
        xr_ruvo_PlaySFX(SFX_CONFIRM);
        if (xr_ruvo_RUVO_MusicPlaying == 2) xr_ruvo_ResumeTune();
        break;
    case 2:
        xr_ruvo_LockKeys();
        xr_ruvo_PlaySFX(SFX_CONFIRM);
        xr_ruvo_RUVO_OptCred = OVERLAY_OPTIONS;
        break;
    default:
        break;
    }

    // The icon column slides in, and back out once left alone for a while.
    int& column = pos[POS_PAUSE_X];
    int& idle = pos[POS_PAUSE_IDLE];
    if (xr_ruvo_mdAll) {
        idle = 0;
        column += 8;
    } else if (idle < 30) {
        column += 8;
    } else if (idle > 580) {
        column -= 4;
    }
    column = column < -64 ? -64 : column > 64 ? 64 : column;
    if (idle < 600) ++idle;
    return 0;
}
