// Console output, runtime errors, fatal signals and the debugger's stop protocol.
#pragma once

#include "runtime/string.h"

extern const char* dbg_info;
extern String dbg_exstack;

int xrPrint(String text);
int xrDebugLog(String text);
int xrDebugStop();
int xrError(String message);

[[noreturn]] void dbg_error(const char* message);
void dbg_stop();
String dbg_stacktrace();
void dbg_print(String text);
[[noreturn]] void dbg_throw(const char* message);
// Reports a fatal signal and ends the program; async-signal-safe.
[[noreturn]] void sighandler(int signal);

const char* dbg_type(bool*);
const char* dbg_type(int*);
const char* dbg_type(float*);
const char* dbg_type(String*);
String dbg_value(bool* value);
String dbg_value(int* value);
String dbg_value(float* value);
String dbg_value(String* value);
