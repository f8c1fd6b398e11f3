#include "shell/state.h"

#include <cstdint>
#include <string>

#include "host/app.h"

Array<int> xr_ruvo_RUVO_Set;
Array<int> xr_ruvo_RUVO_Score;
int xr_ruvo_RUVO_GameNum;
int xr_ruvo_RUVO_GameType;
int xr_ruvo_RUVO_GameMode;
int xr_ruvo_RUVO_OptCred;
Array<int> xr_ruvo_RUVO_MenuPos;
int xr_ruvo_RUVO_Loader;
int xr_ruvo_RUVO_Paused;
int xr_ruvo_RUVO_EndofGame;
int xr_ruvo_RUVO_EndReason;
int xr_ruvo_RUVO_DebugMode;
int xr_ruvo_RUVO_ScreenshotMode;
int xr_ruvo_isOuya;
int xr_ruvo_HasQuit;

namespace {

const int kScores = 10000;
const char* const kVersion = "RUVO_v2.0";

// One step of a check value, on whole numbers: a setting or score near the
// int limits (a damaged or edited file holds any) must not overflow the sum.
int check_step(int sum, int64_t add, int modulus) {
    return int((sum + add) % modulus);
}

}  // namespace

void xr_ruvo_state_init() {
    gc_assign(xr_ruvo_RUVO_Set, Array<int>(256));
    gc_assign(xr_ruvo_RUVO_Score, Array<int>(kScores));
    xr_ruvo_RUVO_GameNum = 0;
    xr_ruvo_RUVO_GameType = 0;
    xr_ruvo_RUVO_GameMode = MODE_MENU;
    xr_ruvo_RUVO_OptCred = 0;
    gc_assign(xr_ruvo_RUVO_MenuPos, Array<int>(50));
    xr_ruvo_RUVO_Loader = 1;
    xr_ruvo_RUVO_Paused = 0;
    xr_ruvo_RUVO_EndofGame = 0;
    xr_ruvo_RUVO_EndReason = 0;
    xr_ruvo_RUVO_DebugMode = 0;
    xr_ruvo_RUVO_ScreenshotMode = 0;
    xr_ruvo_isOuya = 0;
    xr_ruvo_HasQuit = 0;
}

void xr_ruvo_state_mark() {
    gc_mark_field(xr_ruvo_RUVO_Set);
    gc_mark_field(xr_ruvo_RUVO_Score);
    gc_mark_field(xr_ruvo_RUVO_MenuPos);
}

int xr_ruvo_SetDefaults() {
    Array<int> s = xr_ruvo_RUVO_Set;
    s[SET_MUSIC_VOLUME] = 7;
    s[SET_SFX_VOLUME] = 7;
    s[SET_FRAME_RATE] = 0;
    bool ouya = xr_ruvo_isOuya == 1;
    s[SET_INVERT_STICK_Y] = ouya ? 0 : 1;
    s[SET_INVERT_STICK2_Y] = ouya ? 0 : 1;
    s[SET_OVERSCAN] = ouya ? 5 : 0;
    return 0;
}

int xr_ruvo_SetSet(int index, int value) {
    if (index < 0 || index > 249) return 0;
    if (value == SET_READ) return xr_ruvo_RUVO_Set[index];
    xr_ruvo_RUVO_Set[index] = value;
    return value;
}

int xr_ruvo_SetOUYA(int flag) {
    xr_ruvo_isOuya = flag;
    if (flag == 1) xr_ruvo_HasQuit = 1;
    return 0;
}

int xr_ruvo_ShowQuitButton(int flag) {
    xr_ruvo_HasQuit = flag;
    return 0;
}

int xr_ruvo_SetGameNumber(int n) {
    xr_ruvo_RUVO_GameNum = n < 0 ? -n : n;
    return xr_ruvo_RUVO_GameNum;
}

int xr_ruvo_SettingsCheck() {
    int s = 0;
    for (int i = 0; i < SAVE_SETTINGS; ++i) s = check_step(s, xr_ruvo_RUVO_Set[i], xr_ruvo_RUVO_GameNum + 1000);
    return s;
}

int xr_ruvo_BlockCheck(int block) {
    int c = 0;
    for (int m = block * SAVE_BLOCK; m < block * SAVE_BLOCK + SAVE_BLOCK && m < kScores; ++m)
        c = check_step(c, int64_t(m) + 1 + xr_ruvo_RUVO_Score[m], xr_ruvo_RUVO_GameNum + 1237);
    return c;
}

// The save string as SAVE_ (shell/state.h) lays it out, every field ending
// in "|".
// Some ten thousand fields, written as bytes: as a stack of strings they
// would lie about as garbage, half a megabyte a save, until the collector
// next ran, which their own bytes do not hasten.
int xr_ruvo_Save() {
    std::string text;
    auto field = [&text](long long value) {
        text += std::to_string(value);
        text += '|';
    };
    text += kVersion;
    text += '|';
    for (int i = 0; i < SAVE_SETTINGS; ++i) field(xr_ruvo_RUVO_Set[i]);
    field(xr_ruvo_SettingsCheck());
    for (int m = 0; m < kScores; ++m) {
        field(xr_ruvo_RUVO_Score[m]);
        if (m % SAVE_BLOCK == SAVE_BLOCK - 1) field(xr_ruvo_BlockCheck(m / SAVE_BLOCK));
    }
    xr_app_SaveState(String::FromUtf8(text.data(), int(text.size())));
    return 0;
}

// A damaged settings section costs only the defaulted settings, a damaged
// score block only its SAVE_BLOCK scores; whatever a cut string still holds
// is kept.
int xr_ruvo_Load() {
    Array<String> parts = xr_app_LoadState().Split(String("|"));
    int count = parts.Length();
    xr_ruvo_SetDefaults();
    if (parts[0] != String(kVersion)) return 0;

    const int N = xr_ruvo_RUVO_GameNum;
    int s = 0;
    for (int i = 0; i < SAVE_SETTINGS; ++i) {
        if (SAVE_FIRST_SETTING + i >= count) continue;
        xr_ruvo_RUVO_Set[i] = parts[SAVE_FIRST_SETTING + i].ToInt();
        s = check_step(s, xr_ruvo_RUVO_Set[i], N + 1000);
    }
    if (SAVE_SETTINGS_CHECK < count && parts[SAVE_SETTINGS_CHECK].ToInt() != s) xr_ruvo_SetDefaults();
    if (xr_ruvo_isOuya != 1 && xr_ruvo_RUVO_Set[SET_OVERSCAN] > 0) xr_ruvo_RUVO_Set[SET_OVERSCAN] = 0;
    xr_ruvo_RUVO_DebugMode = xr_ruvo_RUVO_Set[SET_FRAME_RATE];

    int cursor = SAVE_FIRST_SCORE;
    int c = 0;
    for (int m = 0; m < kScores; ++m) {
        if (cursor < count) xr_ruvo_RUVO_Score[m] = parts[cursor].ToInt();
        c = check_step(c, int64_t(m) + 1 + xr_ruvo_RUVO_Score[m], N + 1237);
        if (m % SAVE_BLOCK == SAVE_BLOCK - 1 && cursor + 1 < count) {
            if (parts[cursor + 1].ToInt() != c)
                for (int k = m - (SAVE_BLOCK - 1); k <= m; ++k) xr_ruvo_RUVO_Score[k] = 0;
            cursor += 2;
            c = 0;
        } else {
            ++cursor;
        }
    }
    return 0;
}

String xr_ruvo_Right(String text, int n) {
    int take = n < text.Length() ? n : text.Length();
    return text.Slice(-take);
}

String xr_ruvo_rstr(String text, int n, String pad) {
    String padded = text;
    for (int i = 0; i < 24; ++i) padded = pad + padded;
    return xr_ruvo_Right(padded, n);
}
