// Runs a program as a child process and collects what it printed and how it ended.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

enum class StdinKind {
    Empty,     // /dev/null: at its end at once
    Pipe,      // a pipe carrying `input`, then closed
    Terminal,  // a pseudo-terminal that never sends anything
};

struct ProcessResult {
    int status = -1000;  // exit status 0..255, or minus the signal that ended it
    bool timedOut = false;
    std::string out;
    std::string err;
};

struct ProcessOptions {
    StdinKind stdinKind = StdinKind::Empty;
    std::string input;
    std::vector<std::string> env;  // "NAME=value" sets, "NAME" alone unsets
    std::string workDir;
    double timeoutSeconds = 20;
    // Standard output is a pipe nobody reads: closed at once, as when the
    // program's output goes to a pager that was quit.
    bool stdoutClosed = false;
    // Runs on its own thread once the child exists, while its output is read.
    std::function<void(pid_t)> whileRunning;
};

ProcessResult RunProcess(const std::vector<std::string>& args, const ProcessOptions& options = {});
