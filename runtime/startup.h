// The runtime's own start-up, and what the program linked with it provides.
#pragma once

extern int argc;
extern const char** argv;

int xr_std_main(int argc, const char* argv[]);

// Provided by the program: assign every module global, then run the program.
int xrInit();
int xrMain();
