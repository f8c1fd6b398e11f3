// The credits' cards: who and what made the game, as the credits screen
// turns them over.
#include "game/credits.h"

#include "host/platform.h"
#include "shell/credits.h"

// Fourteen cards of five lines; the last, empty, closes the ticker's list.
// Every card is true wherever the game runs. The frame names the project's
// own site, as its metadata does (GLIMMERDEEP_SITE, from the build).
void fill_credits() {
    xr_ruvo_SetCreditFrame(String("Glimmerdeep team"), String(GLIMMERDEEP_SITE));
    using platform::kSoundCredit;
    using platform::kWindowCredit;
    const char* const cards[][5] = {
        {"Made by", "the Glimmerdeep team", "", "a dive into the dark", ""},
        {"Developed with", "C++17 and CMake", "compiled by", platform::kCompilerCredit, ""},
        {"Window and input", kWindowCredit[0], kWindowCredit[1], kWindowCredit[2], ""},
        {"Sound", kSoundCredit[0], kSoundCredit[1], kSoundCredit[2], ""},
        {"Images and music decoding", "stb_image and stb_vorbis", "by", "Sean Barrett", ""},
        {"Graphics", "drawn by our own generator", "and shown through", "OpenGL 1.1", ""},
        {"Font", "DejaVu Sans and Sans Mono", "by", "Bitstream and", "the DejaVu authors"},
        {"Sound effects", "synthesised by", "our own generator", "", ""},
        {"Music", "\"Aqua\"", "composed in code and", "encoded with", "Ogg Vorbis by Xiph.Org"},
        {"Tested with", "GoogleTest and", "Google Benchmark", "on Xvfb and xdotool", ""},
        {"Thanks", "to the Debian project", "for the system", "it was made on", ""},
        {"Special greetings", "to every diver", "who ever lost", "a light in the dark", ""},
        {"Thanks for playing", "Glimmerdeep", "", "mind the vents", ""},
        {"", "", "", "", ""},
    };
    for (const auto& card : cards)
        xr_ruvo_AddCredit(String(card[0]), String(card[1]), String(card[2]), String(card[3]), String(card[4]));
}
