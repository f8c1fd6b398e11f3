#include "host/xrgame.h"

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

// How many delegate calls are under way: a call can start another (re-creating
// the window lets go of held keys from inside an update).
static int delegate_depth;

// Every delegate call once its guard has passed: an escaping exception ends
// the program with the runtime's report; then, when no other call is under
// way, one collection step runs. The collector does not scan the stack, so a
// step inside an outer call could free what that call holds in a local.
template <class Call>
static void delegate_call(XrGame* game, Call call) {
    ++delegate_depth;
    try {
        call(game->Delegate());
    } catch (ThrowableObject* ex) {
        game->Die(ex);
    }
    if (--delegate_depth == 0) game->gc_collect();
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
