// Where each file the game loads lies in the data folder. The loaders and
// the generator that writes the folder both ask here, so a file is named in
// one place: the game's asset tables (game/assets.cpp).
#pragma once

#include <string>

// Image slot `image` loaded as `name`: slots from IMG_SHARED_FIRST on are
// shared by every game, the rest lie in the game's own folder.
std::string xr_ruvo_ImageFile(int gameNumber, int image, const std::string& name);
// Sound number `number`: from SFX_SHARED_FIRST on shared, as a three-digit
// name; below it in the game's sound folder.
std::string xr_ruvo_EffectFile(int gameNumber, int number);
// The music track `name`.
std::string xr_ruvo_TuneFile(int gameNumber, const std::string& name);

// The folder's first shared image slot and sound number.
enum { IMG_SHARED_FIRST = 70, SFX_SHARED_FIRST = 70 };
