// The game's flow: creation, the loading screen, and the mode machine that
// decides each update whether the menu, a new game, play, the pause screen,
// the game-over sequence, the options or the credits run.
#include "game/mygame.h"

#include <cstdlib>

#include "game/assets.h"
#include "game/credits.h"
#include "game/loading.h"
#include "game/render.h"
#include "game/world.h"
#include "graphics/graphics.h"
#include "host/input.h"
#include "host/pacing.h"
#include "host/platform.h"
#include "runtime/debug.h"
#include "shell/controls.h"
#include "shell/credits.h"
#include "shell/draw.h"
#include "shell/menus.h"
#include "shell/particles.h"
#include "shell/scores.h"
#include "shell/sound.h"
#include "shell/state.h"

namespace {

void pause_music_if_playing() {
    if (xr_ruvo_RUVO_MusicPlaying == 1) xr_ruvo_PauseTune();
}

// Play runs unless paused (a game that is ending is never paused); the pause
// control and the pause screen follow.
void play(c_MyGame* game) {
    if (xr_ruvo_RUVO_EndofGame > 0) xr_ruvo_RUVO_Paused = 0;
    if (xr_ruvo_RUVO_Paused == 0) game->p_Game();
    xr_ruvo_InGame();
}

// Once loading is done: the current mode's screen, unless the options or the
// credits are up over it; the game-over sequence over either; then the
// options or credits themselves.
void run_mode(c_MyGame* game) {
    const int mode = xr_ruvo_RUVO_GameMode;
    if (mode != MODE_MENU) xr_ruvo_RUVO_MenuPos[POS_INTRO] = -64;
    if (xr_ruvo_RUVO_OptCred == OVERLAY_NONE) {
        switch (mode) {
        case MODE_MENU: game->p_MainMenu(); break;
        case MODE_TO_MENU: game->p_GotoMenu(); break;
        case MODE_PLAY: play(game); break;
        case MODE_START: game->p_GotoGame(); break;
        }
        if (xr_ruvo_RUVO_EndofGame > 0) xr_ruvo_GameOver();
    }
    if (xr_ruvo_RUVO_OptCred == OVERLAY_OPTIONS) xr_ruvo_Options();
    if (xr_ruvo_RUVO_OptCred == OVERLAY_CREDITS) xr_ruvo_Credits();
}

}  // namespace

int c_MyGame::p_OnCreate() {
    xr_ruvo_SetGameNumber(GAME_NUMBER);
    xr_ruvo_isOuya = 0;
    xr_ruvo_HasQuit = xr_app__game->CanQuit() ? 1 : 0;
    xr_ruvo_RUVO_MixControls = 1;
    // The window may have opened full screen (the command line): F11 then
    // gives the window back.
    xr_ruvo_RUVO_Fullscreen = xr_app__game->Fullscreen() ? 1 : 0;
    xr_app_SetUpdateRate(60);
    xr_ruvo_SetCLSCol(0, 0, 0, 1);
    xr_ruvo_ResetDraw();
    xr_ruvo_RUVO_Loader = 1;
    xr_ruvo_RUVO_GameMode = MODE_MENU;
    xr_ruvo_Load();
    xr_ruvo_LockKeys();
    xr_ruvo_RUVO_OptCred = OVERLAY_NONE;
    xr_ruvo_RUVO_MenuPos[POS_LEVEL] = 1;
    xr_ruvo_RUVO_MenuPos[POS_LEVEL_CURSOR] = 1;
    xr_ruvo_RUVO_MenuPos[POS_SLIDE] = xr_ruvo_jscrw - 32;
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

    if (xr_ruvo_RUVO_Loader == 0) run_mode(this);

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
    xr_ruvo_LockKeys();
    return 0;
}

int c_MyGame::p_LoadScreen() {
    const int step = xr_ruvo_RUVO_Loader;
    // What a player first sees of the game: the frame after the first step.
    if (step == 1) {
        xr_pacing.MomentOfNextFrame("loading_screen");
        xr_ruvo_RUVO_Set[SET_LOADED] = 1;
        xr_ruvo_LoadFont(IMG_FONT, String(kGameFont));
    }
    load_step_assets(step);
    switch (step) {
    case 5: xr_ruvo_PlaySFX(SFX_CHIME); break;
    // The music is decoded now, so that a new game does not stall on it.
    case 48: xr_ruvo_PrepareTune(String(kGameTune)); break;
    // Everything is decoded: what the decoders freed goes back to the system.
    case 49: platform::ReleaseFreeMemory(); break;
    }
    // Step 61 ends the loading in the update that shows the menu first.
    if (step > 60) {
        xr_pacing.MomentOfNextFrame("menu");
        xr_ruvo_RUVO_Loader = 0;
    } else if (xr_ruvo_RUVO_Loader > 0) {
        xr_ruvo_RUVO_Loader += 1;
        xr_ruvo_RUVO_MenuPos[POS_INTRO] = -64;
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
    xr_ruvo_PlayTune(String(kGameTune), 1);
    xr_ruvo_RUVO_GameMode = MODE_PLAY;
    return 0;
}

int c_MyGame::m_DoBits(float dx, float dy, int mode) {
    return xr_ruvo_DoBits(dx, dy, mode);
}

int xr_ruvo_InGame() {
    // The pause control acts on its press, not while it is held.
    if (xr_ruvo_PlayKey(RUVO_MENU, RUVO_ALL_SETS) == 0) {
        xr_ruvo_kdis[LATCH_PAUSE_CONTROL] = 0;
    } else if (xr_ruvo_kdis[LATCH_PAUSE_CONTROL] == 0) {
        xr_ruvo_RUVO_Paused = 1 - xr_ruvo_RUVO_Paused;
        if (xr_ruvo_RUVO_Paused == 1)
            pause_music_if_playing();
        else if (xr_ruvo_RUVO_MusicPlaying == 2)
            xr_ruvo_ResumeTune();
        xr_ruvo_LockKeys();
    }

    if (xr_ruvo_RUVO_EndofGame > 0) {
        xr_ruvo_RUVO_Paused = 0;
    } else if (xr_ruvo_RUVO_Paused == 1) {
        xr_ruvo_Pause_Menu();
        if (xr_ruvo_RUVO_Paused == 1) return 0;
    }

    xr_ruvo_RUVO_MenuPos[POS_PAUSE_X] = -64;
    xr_ruvo_RUVO_MenuPos[POS_PAUSE_IDLE] = 0;
    xr_ruvo_ResetDraw();
    if (xr_ruvo_RUVO_ScreenshotMode == 0) {
        xr_ruvo_SetSize(0.4f, 0.4f);
        xr_ruvo_Alpha(0.5f);
        xr_ruvo_DrawImg(IMG_ICONS, 24, 24, ICON_PAUSE);
        xr_ruvo_ResetDraw();
    }

    // A touch on the pause button's corner pauses, once.
    if (xr_ruvo_MouseIn_Radius(0, 0, 48) && xr_ruvo_mdis[LATCH_MENU] == 0) {
        xr_ruvo_RUVO_Paused = 1;
        xr_ruvo_mdis[LATCH_MENU] = 1;
        xr_ruvo_LockKeys();
        pause_music_if_playing();
    }
    return 0;
}

int xr_ruvo_UpdateWorld() {
    float* data = xr_ruvo_RUVO_Data.Data();
    data[DATA_UPDATES] += 1;
    data[DATA_UPDATES_THIS_SECOND] += 1;
    const int now = xr_app_Millisecs();
    if (std::abs(now - int(data[DATA_UPDATE_SECOND_START])) >= 1000) {
        data[DATA_UPDATE_RATE] = data[DATA_UPDATES_THIS_SECOND];
        data[DATA_UPDATES_THIS_SECOND] = 0;
        data[DATA_UPDATE_SECOND_START] = float(now);
    }

    if (xr_ruvo_RUVO_GameMode != MODE_PLAY) {
        xr_ruvo_RUVO_Paused = 0;
        xr_ruvo_RUVO_MenuPos[POS_PAUSE_CURSOR] = 1;
    }

    if (xr_input_KeyHit(KEY_F1)) {
        xr_ruvo_RUVO_DebugMode = 1 - xr_ruvo_RUVO_DebugMode;
        xr_ruvo_RUVO_Set[SET_FRAME_RATE] = xr_ruvo_RUVO_DebugMode;
    }
    if (xr_input_KeyHit(KEY_F2)) xr_ruvo_RUVO_ScreenshotMode = 1 - xr_ruvo_RUVO_ScreenshotMode;
    if (xr_input_KeyHit(KEY_F11)) xr_ruvo_FullscreenFlip();
    if (xr_input_KeyHit(KEY_F4)) xrError(String());

    float* style = xr_ruvo_RUVO_DrawStyle.Data();
    for (int i = 0; i < 3; ++i)
        style[STYLE_CLEAR_RED + i] -= (style[STYLE_CLEAR_RED + i] - style[STYLE_CLEAR_TARGET_RED + i]) * 0.0625f;

    xr_ruvo_ReadPointer();
    xr_ruvo_DoControls();
    xr_ruvo_TrackVolumes();
    return 0;
}
