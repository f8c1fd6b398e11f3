// Setting and clearing the process's environment variables in the same words
// on Linux and Windows, where the C runtime's own copy must change too (the
// DLLs of the process read that one).
#pragma once

#include <cstdlib>

inline void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

// On Windows an empty value removes the variable.
inline void UnsetEnv(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}
