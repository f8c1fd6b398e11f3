#include "host/game.h"

#include <cstdlib>

#include "runtime/debug.h"

XrGame* XrGame::_game;

XrGame::XrGame() {
    _game = this;
}

XrGame::~XrGame() {}

void XrGame::Die(ThrowableObject*) {
    xrPrint(String("Vantle Runtime Error : Uncaught Vantle Exception"));
    std::exit(-1);
}

void XrGame::gc_collect() {
    gc_mark(_delegate);
    ::gc_collect();
}
