// The credits' cards: who and what made the game, as the credits screen
// turns them over.
#include "game/credits.h"

#include "shell/credits.h"

// What made this build: in a web page the window, input and sound are
// Emscripten's, in the interfaces of GLFW and OpenAL.
#if defined(__EMSCRIPTEN__)
#define CREDIT_COMPILER "Emscripten"
#define CREDIT_WINDOW "GLFW's interface", "for the web by", "the Emscripten authors"
#define CREDIT_SOUND "OpenAL's interface", "on Web Audio by", "the Emscripten authors"
#else
#if defined(__clang__)
#define CREDIT_COMPILER "Clang"
#else
#define CREDIT_COMPILER "GCC"
#endif
#define CREDIT_WINDOW "GLFW", "by", "Marcus Geelnard and Camilla Loewy"
#define CREDIT_SOUND "OpenAL Soft", "by", "Chris Robinson and contributors"
#endif

// Fourteen cards of five lines; the last, empty, closes the ticker's list.
// Every card is true wherever the game runs. The frame names the project's
// own site, as its metadata does (GLIMMERDEEP_SITE, from the build).
void fill_credits() {
    xr_ruvo_SetCreditFrame(String("Glimmerdeep team"), String(GLIMMERDEEP_SITE));
    const char* const cards[][5] = {
        {"Made by", "the Glimmerdeep team", "", "a dive into the dark", ""},
        {"Developed with", "C++17 and CMake", "compiled by", CREDIT_COMPILER, ""},
        {"Window and input", CREDIT_WINDOW, ""},
        {"Sound", CREDIT_SOUND, ""},
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
