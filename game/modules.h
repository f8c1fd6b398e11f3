// Every module's globals, in declaration order: how they start and which of
// them the collector treats as roots.
#pragma once

// Assigns the start value of every module global.
void xr_modules_init();
// Queues every module global that holds an object or array.
void xr_modules_mark();
