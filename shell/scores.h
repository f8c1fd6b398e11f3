// The screens that frame a game: the score display over play, the game-over
// sequence, and the score tables a finished game enters.
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

// The score display: player 1's score, and a column more for each of p2..p5
// above 0, with the lives left when showLives is 1; `second` is unused.
int xr_ruvo_ShowScores(int showLives, int second, int p2, int p3, int p4, int p5);
// Starts the game-over sequence for `reason` (xr_ruvo_RUVO_EndReason's
// values); while one runs, nothing changes.
int xr_ruvo_EndGame(int reason);
// One update of the game-over sequence, which ends in the menu.
int xr_ruvo_GameOver();
// Enters `score` into difficulty `type`'s table (SCORE_ in shell/state.h),
// and saves.
int xr_ruvo_RecordScore(int type, int score);
