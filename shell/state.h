// The shell's state: modes, settings, score tables and the save string that
// keeps settings and scores between runs.
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

extern Array<int> xr_ruvo_RUVO_Set;    // 256 settings; 0..200 are saved
extern Array<int> xr_ruvo_RUVO_Score;  // 10000 scores, saved whole
extern int xr_ruvo_RUVO_GameNum;
extern int xr_ruvo_RUVO_GameType;
extern int xr_ruvo_RUVO_GameMode;
extern int xr_ruvo_RUVO_OptCred;
extern Array<int> xr_ruvo_RUVO_MenuPos;
extern int xr_ruvo_RUVO_Loader;
extern int xr_ruvo_RUVO_Paused;
extern int xr_ruvo_RUVO_EndofGame;
extern int xr_ruvo_RUVO_EndReason;
extern int xr_ruvo_RUVO_DebugMode;
extern int xr_ruvo_RUVO_ScreenshotMode;
extern int xr_ruvo_isOuya;
extern int xr_ruvo_HasQuit;

void xr_ruvo_state_init();
void xr_ruvo_state_mark();

int xr_ruvo_SetDefaults();
int xr_ruvo_SetSet(int index, int value = -3717);
int xr_ruvo_SetOUYA(int flag);
int xr_ruvo_ShowQuitButton(int flag);
int xr_ruvo_Save();
int xr_ruvo_Load();
int xr_ruvo_SetGameNumber(int n);
String xr_ruvo_Right(String text, int n);
String xr_ruvo_rstr(String text, int n, String pad);

// The check values the save string carries, for the current game number.
int xr_ruvo_SettingsCheck();
int xr_ruvo_BlockCheck(int block);
