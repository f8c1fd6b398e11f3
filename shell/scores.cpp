#include "shell/scores.h"

#include <algorithm>
#include <cmath>

#include "host/app.h"
#include "host/pacing.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/game_link.h"
#include "shell/menus.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "support/math.h"

int xr_ruvo_ShowScores(int showLives, int /*second*/, int p2, int p3, int p4, int p5) {
    if (xr_ruvo_RUVO_ScreenshotMode == 1) return 0;
    int count = 5;
    for (int p : {p2, p3, p4, p5})
        if (p <= 0) --count;
    const int w = xr_ruvo_jscrw / count;
    xr_ruvo_ResetDraw();
    for (int k = 1; k <= count; ++k) {
        const float x = float(w / 2 + (k - 1) * w);
        const float* player = xr_ruvo_plr.Data() + PLR_RECORD * (k - 1);
        const float lives = player[PLR_LIVES];
        if (showLives == 1 && lives > 0) {
            xr_ruvo_SetCol(255, 255, 255, 0.75f);
            xr_ruvo_SetSize(0.15f);
            for (int life = 0; life < 3; ++life)
                if (lives > float(life)) xr_ruvo_DrawImg(IMG_ICONS, x + float(16 * (life - 1)), 36, ICON_LIFE);
        }
        xr_ruvo_SetCol(100, 255, 100, 0.75f);
        xr_ruvo_SetSize(count >= 3 ? 0.5f : 0.75f);
        xr_ruvo_TextCentred(x, 16, String(int(player[PLR_SCORE])));
    }
    xr_ruvo_ResetDraw();
    return 0;
}

int xr_ruvo_EndGame(int reason) {
    if (xr_ruvo_RUVO_EndofGame != 0) return 0;
    // A measuring tool that plays needs to know that play has stopped.
    xr_pacing.Moment("game_over");
    xr_ruvo_RUVO_EndofGame = 1;
    xr_ruvo_RUVO_EndReason = reason;
    return 0;
}

int xr_ruvo_GameOver() {
    const int a = xr_ruvo_RUVO_EndofGame;
    const int now = a + 1;
    xr_ruvo_RUVO_EndofGame = now;
    // b brings the words in over the first 40 steps and takes them away
    // from step 120; the curtains follow at twice the pace.
    const int k = now <= 90 ? a : 159 - a;
    const int b = 32 * (k - 40) <= 0 ? 32 * (k - 40) : 0;
    const float c = float(std::min(2 * b + 320, 0));
    const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);

    xr_ruvo_ResetDraw();
    xr_ruvo_SetCol(50, 50, 0, 0.75f);
    xr_ruvo_Triangle(c - 124, -128, c + W + 132, H + 128, c - 124, H + 128);
    xr_ruvo_SetCol(50, 25, 0, 0.75f);
    xr_ruvo_Triangle(-c - 128, -128, W - c + 132, -128, W - c + 132, H + 128);

    const char* first = "Game";
    const char* second = "Over";
    if (xr_ruvo_RUVO_EndReason == 1) first = "Level", second = "Complete";
    else if (xr_ruvo_RUVO_EndReason == 2) first = "Quit", second = "Game";
    xr_ruvo_ResetDraw();
    xr_ruvo_SetSize(2);
    xr_ruvo_TextCentred(0.35f * W, H / 2 - float(b) - 36, String(first));
    xr_ruvo_TextCentred(0.65f * W, H / 2 + float(b) + 36, String(second));
    xr_ruvo_ResetDraw();

    if (now == 60) xr_ruvo_StopTune();
    if (now == 70) xr_ruvo_PlaySFX(SFX_CHIME);
    if (now == 90) xr_ruvo_RUVO_GameMode = MODE_TO_MENU;
    if (now > 160) {
        xr_ruvo_RUVO_EndofGame = 0;
        xr_ruvo_RUVO_EndReason = 0;
    }
    return 0;
}

int xr_ruvo_RecordScore(int type, int score) {
    const int first = SCORE_TABLE * type;
    if (first < 0 || first + SCORE_TABLE > xr_ruvo_RUVO_Score.Length()) return 0;
    int* best = xr_ruvo_RUVO_Score.Data() + first;
    int* recent = best + SCORE_RECENT;
    const int last = SCORE_PLACES - 1;

    // Ties go below the score already there.
    int place = -1;
    for (int k = 0; k < last && place < 0; ++k)
        if (score > best[k]) place = k;
    if (place >= 0) {
        for (int k = last; k > place; --k) best[k] = best[k - 1];
        best[place] = score;
    } else if (score > best[last]) {
        best[last] = score;
    }
    for (int k = last; k > 0; --k) recent[k] = recent[k - 1];
    recent[0] = score;

    xr_ruvo_Save();
    return 0;
}
