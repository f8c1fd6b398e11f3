// Draws the desktop build's main menu as the browser shows it (without the
// Quit item), 640 x 480 or the size given, once it has settled, and writes it
// as a PNG: the browser tests hold the page's canvas against it.
//     menu_frame OUT.png [UPDATES [WIDTH HEIGHT]]
#include <cstdio>
#include <cstdlib>

#include <GLFW/glfw3.h>

#include "tests/harness/game_driver.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: menu_frame OUT.png [UPDATES after loading, 300 unless given [WIDTH HEIGHT]]\n");
        return 2;
    }
    const int updates = argc >= 3 ? std::atoi(argv[2]) : 300;
    const int width = argc == 5 ? std::atoi(argv[3]) : 640, height = argc == 5 ? std::atoi(argv[4]) : 480;
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "menu_frame: no picture of %s x %s\n", argv[3], argv[4]);
        return 2;
    }
    if (!glfwInit()) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr, "menu_frame: the display \"%s\" cannot be opened\n", display ? display : "");
        return 1;
    }
    bool written = false;
    {
        GameDriver driver(width, height, false);
        driver.Load();
        driver.Update(updates);
        driver.Render();
        written = driver.SavePng(argv[1]);
    }
    glfwTerminate();
    if (!written) std::fprintf(stderr, "menu_frame: cannot write %s\n", argv[1]);
    return written ? 0 : 1;
}
