#include "shell/scores.h"

#include <algorithm>
#include <cmath>

#include "game/render.h"
#include "game/world.h"
#include "host/app.h"
#include "host/pacing.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/menus.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "support/math.h"

Array<String> xr_ruvo_RUVO_Cred;
int xr_ruvo_RUVO_Creds;
int xr_ruvo_RUVO_CredTickA;
int xr_ruvo_RUVO_CredTickB;
String xr_ruvo_RUVO_CredAuthor;
String xr_ruvo_RUVO_CredSite;

namespace {

const int kCredLines = 1024;
const int kTableSize = 20;  // entries of one difficulty's score table
const int kLatchCredits = 38;


float sind(float degrees) {
    return std::sin(degrees * D2R);
}

void centred(float x, float y, const String& text) {
    xr_ruvo_Text(x, y, text, 1, 1, 0, 0);
}

// One of the rings that swell behind a credit card.
void ring(int frame, float r, float g, float b, float alpha, float rotation, float sx, float sy) {
    xr_ruvo_SetCol(r, g, b, alpha);
    xr_ruvo_SetRot(rotation);
    xr_ruvo_SetSize(sx, sy);
    xr_ruvo_DrawImg(91, float(xr_ruvo_jscrw / 2), float(xr_ruvo_jscrh / 2), frame);
}

}  // namespace

void xr_ruvo_scores_init() {
    gc_assign(xr_ruvo_RUVO_Cred, Array<String>(kCredLines));
    xr_ruvo_RUVO_Creds = 0;
    xr_ruvo_RUVO_CredTickA = 0;
    xr_ruvo_RUVO_CredTickB = 0;
    xr_ruvo_RUVO_CredAuthor = String();
    xr_ruvo_RUVO_CredSite = String();
}

void xr_ruvo_scores_mark() {
    gc_mark_field(xr_ruvo_RUVO_Cred);
}

int xr_ruvo_AddCredit(String l1, String l2, String l3, String l4, String l5) {
    const int n = xr_ruvo_RUVO_Creds;
    // A credit that does not fit whole is dropped rather than written past
    // the table's end.
    if (n + 5 > xr_ruvo_RUVO_Cred.Length()) return 0;
    xr_ruvo_RUVO_Cred[n] = l1;
    xr_ruvo_RUVO_Cred[n + 1] = l2;
    xr_ruvo_RUVO_Cred[n + 2] = l3;
    xr_ruvo_RUVO_Cred[n + 3] = l4;
    xr_ruvo_RUVO_Cred[n + 4] = l5;
    xr_ruvo_RUVO_Creds = n + 5;
    return 0;
}

int xr_ruvo_SetCreditFrame(String author, String site) {
    xr_ruvo_RUVO_CredAuthor = author;
    xr_ruvo_RUVO_CredSite = site;
    return 0;
}

int xr_ruvo_ShowScores(int showLives, int /*second*/, int p2, int p3, int p4, int p5) {
    if (xr_ruvo_RUVO_ScreenshotMode == 1) return 0;
    int count = 5;
    for (int p : {p2, p3, p4, p5})
        if (p <= 0) --count;
    const int w = xr_ruvo_jscrw / count;
    xr_ruvo_ResetDraw();
    for (int k = 1; k <= count; ++k) {
        const float x = float(w / 2 + (k - 1) * w);
        const float* player = xr_ruvo_plr.Data() + 100 * (k - 1);
        const float lives = player[PLR_LIVES];
        if (showLives == 1 && lives > 0) {
            xr_ruvo_SetCol(255, 255, 255, 0.75f);
            xr_ruvo_SetSize(0.15f);
            for (int life = 0; life < 3; ++life)
                if (lives > float(life)) xr_ruvo_DrawImg(90, x + float(16 * (life - 1)), 36, 8);
        }
        xr_ruvo_SetCol(100, 255, 100, 0.75f);
        xr_ruvo_SetSize(count >= 3 ? 0.5f : 0.75f);
        centred(x, 16, String(int(player[PLR_SCORE])));
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
    centred(0.35f * W, H / 2 - float(b) - 36, String(first));
    centred(0.65f * W, H / 2 + float(b) + 36, String(second));
    xr_ruvo_ResetDraw();

    if (now == 60) xr_ruvo_StopTune();
    if (now == 70) xr_ruvo_PlaySFX(96);
    if (now == 90) xr_ruvo_RUVO_GameMode = 1;
    if (now > 160) {
        xr_ruvo_RUVO_EndofGame = 0;
        xr_ruvo_RUVO_EndReason = 0;
    }
    return 0;
}

int xr_ruvo_Credits() {
    const int ms = xr_app_Millisecs();
    const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);

    const bool turning = xr_ruvo_Held(RUVO_UP) || xr_ruvo_Held(RUVO_LEFT) || xr_ruvo_Held(RUVO_RIGHT) ||
                         xr_ruvo_Held(RUVO_DOWN);
    xr_ruvo_RUVO_CredTickA += turning ? 5 : 1;
    if (xr_ruvo_RUVO_CredTickA > 270) {
        xr_ruvo_RUVO_CredTickA -= 360;
        xr_ruvo_RUVO_CredTickB += 5;
        if (xr_ruvo_RUVO_CredTickB >= xr_ruvo_RUVO_Creds - 5) xr_ruvo_RUVO_CredTickB = 0;
    }
    const int i = xr_ruvo_RUVO_CredTickB;
    const float s = sind(float(xr_ruvo_RUVO_CredTickA));

    xr_ruvo_TiledBackdrop();

    // A click or touch anywhere leaves too: with a mouse alone there is no
    // other way out.
    const bool leave = xr_ruvo_Held(RUVO_BUTTON1) || xr_ruvo_Held(RUVO_BUTTON2) || xr_ruvo_Held(RUVO_BUTTON3) ||
                       xr_ruvo_Held(RUVO_MENU) || xr_ruvo_mdAll;
    if (leave && xr_ruvo_kdis[kLatchCredits] == 0) {
        xr_ruvo_LockKeys();
        xr_ruvo_RUVO_OptCred = 0;
        xr_ruvo_PlaySFX(99);
    }
    if (!leave) xr_ruvo_kdis[kLatchCredits] = 0;

    xr_ruvo_SetSize(0.5f);
    centred(96, 24, String("A Game by"));
    centred(96, 52, xr_ruvo_RUVO_CredAuthor);
    centred(96, 80, String("for"));
    centred(W - 96, H - 128, String("Created using"));
    centred(W - 96, H - 32, xr_ruvo_RUVO_CredSite);
    xr_ruvo_SetSize(1);
    xr_ruvo_DrawImg(90, 96, 128, 10);
    xr_ruvo_DrawImg(90, W - 96, H - 80, 9);

    ring(3, 255, 255, 255, 0.1f, 0, xr_math_Clamp(10 * s + 9, 0, 1) * 1.9f, -37171);
    ring(1, 255, 255, 0, 0.4f, float(ms / 22), xr_math_Clamp(10 * s + 8.5f, 0, 1) * 1.7f, -37171);
    const float a = xr_math_Clamp(10 * s + 8, 0, 1);
    ring(0, 255, 128, 0, 0.4f, float(ms) / 11.5f, 1.5f * a * sind(float(ms) / 27.5f), 1.5f * a);
    ring(2, 0, 128, 255, 0.4f, -float(ms / 15), xr_math_Clamp(10 * s + 7.5f, 0, 1) * 1.3f, -37171);

    xr_ruvo_ResetDraw();
    const float v = xr_math_Clamp(10 * s + 6, 0, 1);
    xr_ruvo_SetSize(0.75f * v);
    for (int line = 0; line < 5; ++line)
        centred(W / 2, H / 2 + float(32 * (line - 2)) * v, xr_ruvo_RUVO_Cred[i + line]);

    // An empty table has no headings to list.
    if (xr_ruvo_RUVO_Creds > 0) {
        xr_ruvo_SetSize(0.25f);
        for (int n = 16; n >= 0; --n) {
            const int step = 16 - n;
            xr_ruvo_Alpha(0.05f * float(n));
            xr_ruvo_Text(8, H - 192 + float(12 * step), xr_ruvo_RUVO_Cred[(i + 5 * step) % xr_ruvo_RUVO_Creds], 0,
                         1, 0, 0);
        }
    }
    xr_ruvo_ResetDraw();
    return 0;
}

int xr_ruvo_RecordScore(int type, int score) {
    const int first = kTableSize * type;
    if (first < 0 || first + kTableSize > xr_ruvo_RUVO_Score.Length()) return 0;
    int* best = xr_ruvo_RUVO_Score.Data() + first;
    int* recent = best + 5;

    // Ties go below the score already there.
    int place = -1;
    for (int k = 0; k < 4 && place < 0; ++k)
        if (score > best[k]) place = k;
    if (place >= 0) {
        for (int k = 4; k > place; --k) best[k] = best[k - 1];
        best[place] = score;
    } else if (score > best[4]) {
        best[4] = score;
    }
    for (int k = 4; k > 0; --k) recent[k] = recent[k - 1];
    recent[0] = score;

    xr_ruvo_Save();
    return 0;
}
