// The credits screen: cards of five lines turning over one after another,
// a ticker of their headings, and a fixed frame naming the author and the
// development tool. The game fills the table once, at creation.
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

// Lines of one credit card: xr_ruvo_RUVO_Cred holds the cards one after
// another, each card's heading first.
enum { CREDIT_LINES = 5 };

extern Array<String> xr_ruvo_RUVO_Cred;  // CREDIT_LINES lines per credit
extern int xr_ruvo_RUVO_Creds;           // lines in use
extern int xr_ruvo_RUVO_CredTickA;       // the card's turn, degrees
extern int xr_ruvo_RUVO_CredTickB;       // line index of the card on show
// The credits screen's fixed frame: the author's name under "A Game by",
// and a web address under the tool emblem (the game gives its own).
extern String xr_ruvo_RUVO_CredAuthor;
extern String xr_ruvo_RUVO_CredSite;

void xr_ruvo_credits_init();
void xr_ruvo_credits_mark();

// Adds a card; one that would not fit whole is left out.
int xr_ruvo_AddCredit(String l1, String l2, String l3, String l4, String l5);
int xr_ruvo_SetCreditFrame(String author, String site);
// One update of the credits screen.
int xr_ruvo_Credits();
