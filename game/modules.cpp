#include "game/modules.h"

void xr_modules_init() {}

void xr_modules_mark() {}
