#include "host/game.h"

#include <cstdlib>

#include "runtime/debug.h"

XrGame* XrGame::_game;

XrGame::XrGame() {
    _game = this;
}

XrGame::~XrGame() {
    if (_game == this) _game = nullptr;
}

void XrGame::Die(ThrowableObject*) {
    xrPrint(String("Vantle Runtime Error : Uncaught Vantle Exception"));
    std::exit(-1);
}

void XrGame::gc_collect() {
    gc_mark(_delegate);
    ::gc_collect();
}

// Every delegate call once its guard has passed: an escaping exception ends
// the program with the runtime's report; then one collection step runs.
template <class Call>
static void delegate_call(XrGame* game, Call call) {
    try {
        call(game->Delegate());
    } catch (ThrowableObject* ex) {
        game->Die(ex);
    }
    game->gc_collect();
}

void XrGame::StartGame() {
    if (_started) return;
    _started = true;
    delegate_call(this, [&](XrGameDelegate* d) { d->StartGame(); });
}

void XrGame::SuspendGame() {
    if (!_started || _suspended) return;
    _suspended = true;
    delegate_call(this, [&](XrGameDelegate* d) { d->SuspendGame(); });
}

void XrGame::ResumeGame() {
    if (!_started || !_suspended) return;
    _suspended = false;
    delegate_call(this, [&](XrGameDelegate* d) { d->ResumeGame(); });
}

void XrGame::UpdateGame() {
    if (!_started || _suspended) return;
    delegate_call(this, [&](XrGameDelegate* d) { d->UpdateGame(); });
}

void XrGame::RenderGame() {
    if (!_started) return;
    delegate_call(this, [&](XrGameDelegate* d) { d->RenderGame(); });
}

void XrGame::KeyEvent(int event, int data) {
    if (!_started) return;
    delegate_call(this, [&](XrGameDelegate* d) { d->KeyEvent(event, data); });
}

void XrGame::MouseEvent(int event, int data, float x, float y) {
    if (!_started) return;
    delegate_call(this, [&](XrGameDelegate* d) { d->MouseEvent(event, data, x, y); });
}

void XrGame::TouchEvent(int event, int data, float x, float y) {
    if (!_started) return;
    delegate_call(this, [&](XrGameDelegate* d) { d->TouchEvent(event, data, x, y); });
}

void XrGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!_started) return;
    delegate_call(this, [&](XrGameDelegate* d) { d->MotionEvent(event, data, x, y, z); });
}

void XrGame::DiscardGraphics() {
    if (!_started) return;
    delegate_call(this, [&](XrGameDelegate* d) { d->DiscardGraphics(); });
}
