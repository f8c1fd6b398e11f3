// The summary line every benchmark program ends with, one per figure, which
// tools/bench.sh gathers:
//   figure NAME VALUE TARGET met      (or MISSED)
#pragma once

#include <cstdarg>
#include <cstdio>

// VALUE is formatted from `format`. Neither it nor TARGET may hold spaces.
__attribute__((format(printf, 4, 5))) inline void PrintFigure(const char* name, const char* target, bool met,
                                                            const char* format, ...) {
    char value[64];
    va_list args;
    va_start(args, format);
    std::vsnprintf(value, sizeof value, format, args);
    va_end(args);
    std::printf("figure %s %s %s %s\n", name, value, target, met ? "met" : "MISSED");
}
