// The screens that frame a game: the score display over play, the game-over
// sequence, the credits, and the score tables a finished game enters.
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

extern Array<String> xr_ruvo_RUVO_Cred;  // five lines per credit
extern int xr_ruvo_RUVO_Creds;           // lines in use
extern int xr_ruvo_RUVO_CredTickA;       // the card's turn, degrees
extern int xr_ruvo_RUVO_CredTickB;       // line index of the card on show
// The credits screen's fixed frame: the author's name under "A Game by",
// and the development tool's web address under its emblem.
extern String xr_ruvo_RUVO_CredAuthor;
extern String xr_ruvo_RUVO_CredSite;

void xr_ruvo_scores_init();
void xr_ruvo_scores_mark();

int xr_ruvo_AddCredit(String l1, String l2, String l3, String l4, String l5);
int xr_ruvo_SetCreditFrame(String author, String site);
int xr_ruvo_ShowScores(int showLives, int second, int p2, int p3, int p4, int p5);
int xr_ruvo_EndGame(int reason);
int xr_ruvo_GameOver();
int xr_ruvo_Credits();
// Enters `score` into difficulty `type`'s best five and last five, and
// saves.
int xr_ruvo_RecordScore(int type, int score);
