// Draws the desktop build's main menu as the browser shows it, 640 x 480,
// without the Quit item, once it has settled, and writes it as a PNG: the browser tests hold the
// page's canvas against it.
//     menu_frame OUT.png [UPDATES]
#include <cstdio>
#include <cstdlib>

#include <GLFW/glfw3.h>

#include "tests/harness/game_driver.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: menu_frame OUT.png [UPDATES after loading, 300 unless given]\n");
        return 2;
    }
    const int updates = argc == 3 ? std::atoi(argv[2]) : 300;
    if (!glfwInit()) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr, "menu_frame: the display \"%s\" cannot be opened\n", display ? display : "");
        return 1;
    }
    bool written = false;
    {
        GameDriver driver(640, 480, false);
        driver.Load();
        driver.Update(updates);
        driver.Render();
        written = driver.SavePng(argv[1]);
    }
    glfwTerminate();
    if (!written) std::fprintf(stderr, "menu_frame: cannot write %s\n", argv[1]);
    return written ? 0 : 1;
}
