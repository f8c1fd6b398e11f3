// The game's own credits, given to the shell's credits screen at creation.
#pragma once

// Fills the credits screen's table: its fixed frame and every card.
void fill_credits();
