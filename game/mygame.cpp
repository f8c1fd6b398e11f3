// The game's flow: creation, the loading screen, and the mode machine that
// decides each update whether the menu, a new game, play, the pause screen,
// the game-over sequence, the options or the credits run.
#include "game/mygame.h"

#include <cmath>
#include <cstdlib>

#include "game/render.h"
#include "game/world.h"
#include "graphics/graphics.h"
#include "host/input.h"
#include "host/pacing.h"
#include "host/platform.h"
#include "runtime/debug.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/menus.h"
#include "shell/particles.h"
#include "shell/scores.h"
#include "shell/sound.h"
#include "shell/state.h"

namespace {

enum { MODE_MENU = 0, MODE_TO_MENU = 1, MODE_PLAY = 10, MODE_START = 11 };
enum { KEY_F1 = 112, KEY_F2 = 113, KEY_F4 = 115, KEY_F11 = 122 };

void lock_all() {
    for (int i = 0; i < 50; ++i) xr_ruvo_kdis[i] = xr_ruvo_mdis[i] = 1;
}

// Fourteen cards of five lines; the last, empty, closes the ticker's list.
void fill_credits() {
    xr_ruvo_SetCreditFrame(String("Glimmerdeep team"), String("www.glfw.org"));
    const char* const cards[][5] = {
        {"Made by", "the Glimmerdeep team", "", "a dive into the dark", ""},
        {"Developed with", "C++17 and GCC", "built with", "CMake", ""},
        {"Window and input", "GLFW", "by", "Marcus Geelnard and Camilla Loewy", ""},
        {"Sound", "OpenAL Soft", "by", "Chris Robinson and contributors", ""},
        {"Images and music decoding", "stb_image and stb_vorbis", "by", "Sean Barrett", ""},
        {"Graphics", "drawn by our own generator", "rendered with", "Mesa OpenGL", ""},
        {"Font", "DejaVu Sans and Sans Mono", "by", "Bitstream and", "the DejaVu authors"},
        {"Sound effects", "synthesised by", "our own generator", "", ""},
        {"Music", "\"Aqua\"", "composed in code and", "encoded with", "Ogg Vorbis by Xiph.Org"},
        {"Tested with", "GoogleTest and", "Google Benchmark", "on Xvfb and xdotool", ""},
        {"Thanks", "to the Debian project", "for the system", "it all runs on", ""},
        {"Special greetings", "to every diver", "who ever lost", "a light in the dark", ""},
        {"Thanks for playing", "Glimmerdeep", "", "mind the vents", ""},
        {"", "", "", "", ""},
    };
    for (const auto& card : cards)
        xr_ruvo_AddCredit(String(card[0]), String(card[1]), String(card[2]), String(card[3]), String(card[4]));
}

// The studio emblem assembling from falling tiles, and "..Loading..".
void draw_loading_frame(int step) {
    xr_ruvo_SetCol(180, 160, 120, 1);
    xr_ruvo_Rect(-128, -128, float(xr_ruvo_jscrw + 256), float(xr_ruvo_jscrh + 256), 0, 0);
    xr_ruvo_ResetDraw();
    if (step >= 3) {
        xr_ruvo_SetSize(0.5f, 0.5f);
        const float ox = float(xr_ruvo_jscrw / 2) - 239.85f, oy = float(xr_ruvo_jscrh / 2) - 239.85f;
        for (int i = 0; i < 32; ++i) {
            for (int j = 0; j < 32; ++j) {
                const float o = 30 - (float(j) - 0.3f * float(i)) * 0.25f - float(step);
                const float drop = o < 0 ? 0 : 5 * o * o;
                xr_ruvo_DrawImg(95, float(i) * 15.99f + ox, float(j) * 15.99f + oy - drop, i + 32 * j);
            }
        }
        xr_ruvo_ResetDraw();
    }
    if (xr_ruvo_RUVO_Font) {
        const int n = step % 4 + 1;
        String dots = xr_ruvo_rstr(String("."), n, String("."));
        xr_ruvo_Text(float(xr_ruvo_jscrw / 2), float(xr_ruvo_jscrh - 64), dots + String("Loading") + dots, 1, 1, 0,
                     0);
    }
}

void pause_music_if_playing() {
    if (xr_ruvo_RUVO_MusicPlaying == 1) xr_ruvo_PauseTune();
}

}  // namespace

int c_MyGame::p_OnCreate() {
    xr_ruvo_SetGameNumber(503);
    xr_ruvo_isOuya = 0;
    xr_ruvo_HasQuit = 1;
    xr_ruvo_RUVO_MixControls = 1;
    xr_app_SetUpdateRate(60);
    xr_ruvo_SetCLSCol(0, 0, 0, 1);
    xr_ruvo_ResetDraw();
    xr_ruvo_RUVO_Loader = 1;
    xr_ruvo_RUVO_GameMode = MODE_MENU;
    xr_ruvo_Load();
    lock_all();
    xr_ruvo_RUVO_OptCred = 0;
    xr_ruvo_RUVO_MenuPos[0] = 1;
    xr_ruvo_RUVO_MenuPos[2] = 1;
    xr_ruvo_RUVO_MenuPos[5] = xr_ruvo_jscrw - 32;
    xr_ruvo_FlushGame();
    fill_credits();
    for (int i = 0; i < 10; ++i) xr_ruvo_Joy_Disable[i] = 0;
    return 0;
}

int c_MyGame::p_OnUpdate() {
    xr_ruvo_Sprtup = 0;
    xr_ruvo_ResetDraw();
    xr_ruvo_UpdateWorld();
    if (xr_ruvo_RUVO_Loader > 0) p_LoadScreen();

    if (xr_ruvo_RUVO_Loader == 0) {
        if (xr_ruvo_RUVO_GameMode == MODE_MENU) {
            if (xr_ruvo_RUVO_OptCred == 0) {
                p_MainMenu();
                if (xr_ruvo_RUVO_EndofGame > 0) xr_ruvo_GameOver();
            }
        } else {
            xr_ruvo_RUVO_MenuPos[10] = -64;
            if (xr_ruvo_RUVO_OptCred == 0) {
                switch (xr_ruvo_RUVO_GameMode) {
                case MODE_TO_MENU:
                    p_GotoMenu();
                    break;
                case MODE_PLAY:
                    if (xr_ruvo_RUVO_EndofGame > 0) {
                        xr_ruvo_RUVO_Paused = 0;
                        p_Game();
                    } else if (xr_ruvo_RUVO_Paused == 0) {
                        p_Game();
                    }
                    xr_ruvo_InGame();
                    break;
                case MODE_START:
                    p_GotoGame();
                    break;
                }
                if (xr_ruvo_RUVO_EndofGame > 0) xr_ruvo_GameOver();
            }
        }
        if (xr_ruvo_RUVO_OptCred == 1) xr_ruvo_Options();
        if (xr_ruvo_RUVO_OptCred == 2) xr_ruvo_Credits();
    }

    if (!xr_asyncevent__current) xr_asyncevent_UpdateAsyncEvents();
    return 0;
}

// While the window is without the focus no update runs, but the window
// system still asks for frames: they show the last one again.
int c_MyGame::p_OnRender() {
    if (xr_app__game->Suspended())
        xr_ruvo_RedrawWorld();
    else
        xr_ruvo_RenderWorld();
    return 0;
}

// The window lost the focus: a game in play is paused, so that the player
// comes back to the pause screen rather than into the middle of the action.
int c_MyGame::p_OnSuspend() {
    if (xr_ruvo_RUVO_Loader != 0 || xr_ruvo_RUVO_GameMode != MODE_PLAY) return 0;
    if (xr_ruvo_RUVO_EndofGame > 0 || xr_ruvo_RUVO_Paused == 1) return 0;
    xr_ruvo_RUVO_Paused = 1;
    pause_music_if_playing();
    lock_all();
    return 0;
}

int c_MyGame::p_LoadScreen() {
    const int step = xr_ruvo_RUVO_Loader;
    // What a player first sees of the game: the frame after the first step.
    if (step == 1) xr_pacing.MomentOfNextFrame("loading_screen");
    switch (step) {
    case 1:
        xr_ruvo_RUVO_Set[100] = 1;
        xr_ruvo_LoadFont(99, String("bandwidth"));
        xr_ruvo_LoadSFX(96);
        break;
    case 2:
        xr_ruvo_LoadImg(95, String("RUVOLogo"), 32, 32, 1024);
        xr_ruvo_LoadSFX(96);
        break;
    case 5: xr_ruvo_PlaySFX(96); break;
    case 30:
        xr_ruvo_LoadImg(96, String("RUVOLogo"), 1024, 1024, 1);
        xr_ruvo_LoadSFX(98);
        break;
    case 31:
        xr_ruvo_LoadImg(70, String("part-shapefull"), 32, 32, 16);
        xr_ruvo_LoadSFX(99);
        break;
    case 32:
        xr_ruvo_LoadImg(71, String("parts_shape"), 32, 32, 16);
        xr_ruvo_LoadSFX(99);
        break;
    case 33:
        xr_ruvo_LoadImg(72, String("parts_smoke"), 32, 32, 16);
        xr_ruvo_LoadSFX(99);
        break;
    case 34:
        xr_ruvo_LoadImg(73, String("parts_cluster"), 32, 32, 16);
        xr_ruvo_LoadSFX(99);
        break;
    case 35: xr_ruvo_LoadImg(74, String("parts_stars"), 32, 32, 16); break;
    case 36: xr_ruvo_LoadImg(80, String("Buttons"), 64, 64, 16); break;
    case 37: xr_ruvo_LoadImg(90, String("icons"), 128, 128, 16); break;
    case 38: xr_ruvo_LoadImg(91, String("circle"), 256, 256, 4); break;
    case 39: xr_ruvo_LoadImg(69, String("logo"), 1024, 512, 1); break;
    case 40: xr_ruvo_LoadImg(68, String("menu"), 1024, 1024, 4); break;
    case 41: xr_ruvo_LoadImg(81, String("options"), 68, 68, 49); break;
    case 42: xr_ruvo_LoadImg(82, String("scoreboard"), 256, 256, 1); break;
    case 43: xr_ruvo_LoadImg(1, String("gfx"), 20, 20, 36); break;
    case 44: case 45: case 46: case 47: xr_ruvo_LoadSFX(step - 43); break;
    // The music is decoded now, so that a new game does not stall on it.
    case 48: xr_ruvo_PrepareTune(String("Aqua")); break;
    // Everything is decoded: what the decoders freed goes back to the system.
    case 49: platform::ReleaseFreeMemory(); break;
    }
    // Step 61 ends the loading in the update that shows the menu first.
    if (step > 60) {
        xr_ruvo_RUVO_Loader = 0;
    } else if (xr_ruvo_RUVO_Loader > 0) {
        xr_ruvo_RUVO_Loader += 1;
        xr_ruvo_RUVO_MenuPos[10] = -64;
    }
    draw_loading_frame(step);
    return 0;
}

int c_MyGame::p_GotoGame() {
    // The cave is built in this update: a measuring tool counts its gap from here.
    xr_pacing.Moment("game_start");
    xr_ruvo_FlushGame();
    xr_ruvo_plr[PLR_LIVES] = 3;
    xr_ruvo_plr[PLR_INVULNERABLE] = 0;
    p_Cavern();
    xr_ruvo_PlayTune(String("Aqua"), 1);
    xr_ruvo_RUVO_GameMode = MODE_PLAY;
    return 0;
}

int c_MyGame::m_DoBits(float dx, float dy, int mode) {
    return xr_ruvo_DoBits(dx, dy, mode);
}

int xr_ruvo_InGame() {
    // The pause control acts on its press, not while it is held.
    if (xr_ruvo_PlayKey(20, -2) == 0) {
        xr_ruvo_kdis[20] = 0;
    } else if (xr_ruvo_kdis[20] == 0) {
        xr_ruvo_RUVO_Paused = 1 - xr_ruvo_RUVO_Paused;
        if (xr_ruvo_RUVO_Paused == 1)
            pause_music_if_playing();
        else if (xr_ruvo_RUVO_MusicPlaying == 2)
            xr_ruvo_ResumeTune();
        lock_all();
    }

    if (xr_ruvo_RUVO_EndofGame > 0) {
        xr_ruvo_RUVO_Paused = 0;
    } else if (xr_ruvo_RUVO_Paused == 1) {
        xr_ruvo_Pause_Menu();
        if (xr_ruvo_RUVO_Paused == 1) return 0;
    }

    xr_ruvo_RUVO_MenuPos[41] = -64;
    xr_ruvo_RUVO_MenuPos[42] = 0;
    xr_ruvo_ResetDraw();
    if (xr_ruvo_RUVO_ScreenshotMode == 0) {
        xr_ruvo_SetSize(0.4f, 0.4f);
        xr_ruvo_Alpha(0.5f);
        xr_ruvo_DrawImg(90, 24, 24, 0);
        xr_ruvo_ResetDraw();
    }

    // A touch on the pause button's corner pauses, once.
    for (int k = 0; k < 10; ++k) {
        const float* t = xr_ruvo_RUVO_Touch.Data() + 10 * k;
        if (t[0] != 1 || std::sqrt(t[1] * t[1] + t[2] * t[2]) > 48) continue;
        if (xr_ruvo_mdis[0] == 0) {
            xr_ruvo_RUVO_Paused = 1;
            xr_ruvo_mdis[0] = 1;
            lock_all();
            pause_music_if_playing();
        }
        break;
    }
    return 0;
}

int xr_ruvo_UpdateWorld() {
    float* data = xr_ruvo_RUVO_Data.Data();
    data[48] += 1;
    data[8] += 1;
    const int now = xr_app_Millisecs();
    if (std::abs(now - int(data[6])) >= 1000) {
        data[1] = data[8];
        data[8] = 0;
        data[6] = float(now);
    }

    if (xr_ruvo_RUVO_GameMode != MODE_PLAY) {
        xr_ruvo_RUVO_Paused = 0;
        xr_ruvo_RUVO_MenuPos[40] = 1;
    }

    if (xr_input_KeyHit(KEY_F1)) {
        xr_ruvo_RUVO_DebugMode = 1 - xr_ruvo_RUVO_DebugMode;
        xr_ruvo_RUVO_Set[22] = xr_ruvo_RUVO_DebugMode;
    }
    if (xr_input_KeyHit(KEY_F2)) xr_ruvo_RUVO_ScreenshotMode = 1 - xr_ruvo_RUVO_ScreenshotMode;
    if (xr_input_KeyHit(KEY_F11)) xr_ruvo_FullscreenFlip();
    if (xr_input_KeyHit(KEY_F4)) xrError(String());

    float* style = xr_ruvo_RUVO_DrawStyle.Data();
    for (int i = 0; i < 3; ++i) style[11 + i] -= (style[11 + i] - style[15 + i]) * 0.0625f;

    xr_ruvo_ReadPointer();
    xr_ruvo_DoControls();
    xr_ruvo_TrackVolumes();
    return 0;
}
