#include "host/vantlegame.h"

int main(int argc, const char* argv[]) {
    XrVantleGame::Main(argc, argv);
    return 0;
}
