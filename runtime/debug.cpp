#include "runtime/debug.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <unistd.h>

const char* dbg_info;
String dbg_exstack;

static const char* const kErrorPrefix = "Vantle Runtime Error : ";

int xrPrint(String text) {
    static std::vector<char> buffer;
    size_t need = size_t(text.Length()) * 3 + 1;
    if (buffer.size() < need) buffer.resize(need);
    int n = String::EncodeUtf8(text.Data(), text.Length(), buffer.data());
    buffer[size_t(n)] = '\n';
    std::fwrite(buffer.data(), 1, size_t(n) + 1, stdout);
    std::fflush(stdout);
    return 0;
}

int xrDebugLog(String text) {
    return xrPrint(text);
}

int xrDebugStop() {
    dbg_stop();
    return 0;
}

void dbg_print(String text) {
    static std::vector<char> buffer;
    size_t need = size_t(text.Length()) + 1;
    if (buffer.size() < need) buffer.resize(need + 100);
    for (int i = 0; i < text.Length(); ++i) buffer[size_t(i)] = char(text[i]);
    buffer[size_t(text.Length())] = '\n';
    std::fwrite(buffer.data(), 1, need, stderr);
    std::fflush(stderr);
}

String dbg_stacktrace() {
    if (!dbg_info || !*dbg_info) return String();
    return String(dbg_info) + String("\n");
}

// A debugger talks over a pipe. A person at a terminal is not one: waiting for
// their input would only freeze the game, so the report ends the program.
void dbg_stop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "(null)");
    std::fflush(stderr);
    dbg_print(String());
    if (isatty(STDIN_FILENO)) std::exit(-1);

    char line[256];
    for (;;) {
        if (!std::fgets(line, sizeof line, stdin)) std::exit(-1);
        char* newline = std::strchr(line, '\n');
        if (!newline) std::exit(-1);
        *newline = 0;
        switch (line[0]) {
        case '?':
            break;
        case '@': {
            void* p = nullptr;
            std::sscanf(line + 1, "%p", &p);
            dbg_print(p ? static_cast<Object*>(p)->debug() : String());
            break;
        }
        case 'e': case 'l': case 'r': case 's':
            return;
        case 'q':
            std::exit(0);
        default:
            std::printf("????? %s ?????", line);
            std::fflush(stdout);
            std::exit(-1);
        }
    }
}

void dbg_error(const char* message) {
    for (;;) {
        xrPrint(String(kErrorPrefix) + String(message));
        xrPrint(dbg_stacktrace());
        dbg_stop();
    }
}

int xrError(String message) {
    if (message.Length() == 0) std::exit(0);
    dbg_error(message.ToNarrow().c_str());
}

void dbg_throw(const char* message) {
    dbg_exstack = dbg_stacktrace();
    throw message;
}

static void write_all(int fd, const char* text) {
    size_t left = std::strlen(text);
    while (left > 0) {
        ssize_t n = write(fd, text, left);
        if (n <= 0) return;
        text += n;
        left -= size_t(n);
    }
}

// A fatal signal may arrive inside the allocator or while another thread holds
// the output streams' locks: the report is written with write() alone, from
// fixed texts, and the program ends with _exit(). The bytes are a runtime
// error's report and stop lines; the debugger is not offered a stop, since the
// program cannot go on from such a fault.
void sighandler(int signal) {
    const char* message = "Unknown signal";
    if (signal == SIGILL) message = "Illegal instruction";
    else if (signal == SIGFPE) message = "Floating point exception";
    else if (signal == SIGSEGV) message = "Memory access violation";
    const char* info = dbg_info;
    write_all(STDOUT_FILENO, kErrorPrefix);
    write_all(STDOUT_FILENO, message);
    write_all(STDOUT_FILENO, "\n");
    if (info && *info) {
        write_all(STDOUT_FILENO, info);
        write_all(STDOUT_FILENO, "\n");
    }
    write_all(STDOUT_FILENO, "\n");
    write_all(STDERR_FILENO, "{{~~");
    write_all(STDERR_FILENO, info ? info : "(null)");
    write_all(STDERR_FILENO, "~~}}\n\n");
    _exit(255);
}

const char* dbg_type(bool*) { return "Bool"; }
const char* dbg_type(int*) { return "Int"; }
const char* dbg_type(float*) { return "Float"; }
const char* dbg_type(String*) { return "String"; }

String dbg_value(bool* value) {
    return String(*value ? "True" : "False");
}

String dbg_value(int* value) {
    return String(*value);
}

String dbg_value(float* value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17lg", double(*value));
    return String(text);
}

String dbg_value(String* value) {
    String s = *value;
    if (s.Length() > 100) s = s.Slice(0, 100) + String("...");
    s = s.Replace(String("\""), String("~q"));
    s = s.Replace(String("\t"), String("~t"));
    s = s.Replace(String("\n"), String("~n"));
    s = s.Replace(String("\r"), String("~r"));
    return String("\"") + s + String("\"");
}
