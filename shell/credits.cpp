#include "shell/credits.h"

#include "host/app.h"
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

// One of the rings that swell behind a credit card.
void ring(int frame, float r, float g, float b, float alpha, float rotation, float sx, float sy) {
    xr_ruvo_SetCol(r, g, b, alpha);
    xr_ruvo_SetRot(rotation);
    xr_ruvo_SetSize(sx, sy);
    xr_ruvo_DrawImg(IMG_RING, float(xr_ruvo_jscrw / 2), float(xr_ruvo_jscrh / 2), frame);
}

}  // namespace

void xr_ruvo_credits_init() {
    gc_assign(xr_ruvo_RUVO_Cred, Array<String>(kCredLines));
    xr_ruvo_RUVO_Creds = 0;
    xr_ruvo_RUVO_CredTickA = 0;
    xr_ruvo_RUVO_CredTickB = 0;
    xr_ruvo_RUVO_CredAuthor = String();
    xr_ruvo_RUVO_CredSite = String();
}

void xr_ruvo_credits_mark() {
    gc_mark_field(xr_ruvo_RUVO_Cred);
}

int xr_ruvo_AddCredit(String l1, String l2, String l3, String l4, String l5) {
    const int n = xr_ruvo_RUVO_Creds;
    // A credit that does not fit whole is dropped rather than written past
    // the table's end.
    if (n + CREDIT_LINES > xr_ruvo_RUVO_Cred.Length()) return 0;
    const String lines[CREDIT_LINES] = {l1, l2, l3, l4, l5};
    for (int k = 0; k < CREDIT_LINES; ++k) xr_ruvo_RUVO_Cred[n + k] = lines[k];
    xr_ruvo_RUVO_Creds = n + CREDIT_LINES;
    return 0;
}

int xr_ruvo_SetCreditFrame(String author, String site) {
    xr_ruvo_RUVO_CredAuthor = author;
    xr_ruvo_RUVO_CredSite = site;
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
        xr_ruvo_RUVO_CredTickB += CREDIT_LINES;
        if (xr_ruvo_RUVO_CredTickB >= xr_ruvo_RUVO_Creds - CREDIT_LINES) xr_ruvo_RUVO_CredTickB = 0;
    }
    const int i = xr_ruvo_RUVO_CredTickB;
    const float s = sind(float(xr_ruvo_RUVO_CredTickA));

    xr_ruvo_TiledBackdrop();

    // A click or touch anywhere leaves too: with a mouse alone there is no
    // other way out.
    const bool leave = xr_ruvo_Held(RUVO_BUTTON1) || xr_ruvo_Held(RUVO_BUTTON2) || xr_ruvo_Held(RUVO_BUTTON3) ||
                       xr_ruvo_Held(RUVO_MENU) || xr_ruvo_mdAll;
    if (leave && xr_ruvo_kdis[LATCH_EXIT] == 0) {
        xr_ruvo_LockKeys();
        xr_ruvo_RUVO_OptCred = OVERLAY_NONE;
        xr_ruvo_PlaySFX(SFX_CONFIRM);
    }
    if (!leave) xr_ruvo_kdis[LATCH_EXIT] = 0;

    xr_ruvo_SetSize(0.5f);
    xr_ruvo_TextCentred(96, 24, String("A Game by"));
    xr_ruvo_TextCentred(96, 52, xr_ruvo_RUVO_CredAuthor);
    xr_ruvo_TextCentred(96, 80, String("for"));
    xr_ruvo_TextCentred(W - 96, H - 128, String("Created using"));
    xr_ruvo_TextCentred(W - 96, H - 32, xr_ruvo_RUVO_CredSite);
    xr_ruvo_SetSize(1);
    xr_ruvo_DrawImg(IMG_ICONS, 96, 128, ICON_MAKER);
    xr_ruvo_DrawImg(IMG_ICONS, W - 96, H - 80, ICON_TOOL);

    ring(3, 255, 255, 255, 0.1f, 0, xr_math_Clamp(10 * s + 9, 0, 1) * 1.9f, STYLE_SCALE_AS_X);
    ring(1, 255, 255, 0, 0.4f, float(ms / 22), xr_math_Clamp(10 * s + 8.5f, 0, 1) * 1.7f, STYLE_SCALE_AS_X);
    const float a = xr_math_Clamp(10 * s + 8, 0, 1);
    ring(0, 255, 128, 0, 0.4f, float(ms) / 11.5f, 1.5f * a * sind(float(ms) / 27.5f), 1.5f * a);
    ring(2, 0, 128, 255, 0.4f, -float(ms / 15), xr_math_Clamp(10 * s + 7.5f, 0, 1) * 1.3f, STYLE_SCALE_AS_X);

    xr_ruvo_ResetDraw();
    const float v = xr_math_Clamp(10 * s + 6, 0, 1);
    xr_ruvo_SetSize(0.75f * v);
    for (int line = 0; line < CREDIT_LINES; ++line)
        xr_ruvo_TextCentred(W / 2, H / 2 + float(32 * (line - 2)) * v, xr_ruvo_RUVO_Cred[i + line]);

    // An empty table has no headings to list.
    if (xr_ruvo_RUVO_Creds > 0) {
        xr_ruvo_SetSize(0.25f);
        for (int n = 16; n >= 0; --n) {
            const int step = 16 - n;
            xr_ruvo_Alpha(0.05f * float(n));
            const String heading = xr_ruvo_RUVO_Cred[(i + CREDIT_LINES * step) % xr_ruvo_RUVO_Creds];
            xr_ruvo_Text(8, H - 192 + float(12 * step), heading, 0, 1, 0, 0);
        }
    }
    xr_ruvo_ResetDraw();
    return 0;
}
