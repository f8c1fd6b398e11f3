// The screens that frame a game: the score display over play, the game-over
// sequence, and the score tables a finished game enters.
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

int xr_ruvo_ShowScores(int showLives, int second, int p2, int p3, int p4, int p5);
int xr_ruvo_EndGame(int reason);
int xr_ruvo_GameOver();
// Enters `score` into difficulty `type`'s best five and last five, and
// saves.
int xr_ruvo_RecordScore(int type, int score);
