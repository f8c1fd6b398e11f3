// Runs a program as a child process and collects what it printed and how it ended.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
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

// What a running program has printed so far, kept as it comes so that a
// step driving the program can wait for what it says.
class ProcessOutput {
public:
    // Waits until `seen` holds for standard output and error so far, the
    // program has closed both, or `seconds` pass; whether it held.
    bool WaitFor(const std::function<bool(const std::string& out, const std::string& err)>& seen, double seconds);
    // Waits for `text` on standard error.
    bool WaitForErr(const std::string& text, double seconds);
    std::string Out();
    std::string Err();

    // For the reader: bytes of stream 1 or 2, and their end.
    void Add(int stream, const char* bytes, size_t length);
    void End();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string out_, err_;
    bool ended_ = false;
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
    // Where the output also goes as it comes, for whileRunning to wait on.
    ProcessOutput* output = nullptr;
};

ProcessResult RunProcess(const std::vector<std::string>& args, const ProcessOptions& options = {});

// Whether the process still runs (not ended, nor ended and unreaped).
bool Alive(pid_t pid);
// The resident memory of a process in kB, 0 when it is gone.
long ResidentKb(pid_t pid);

// The program a test runs by `name`: the path the environment variable
// `override` gives, else the first executable `name` on the PATH; empty
// when there is none, for the test to fail saying which package gives it.
std::string FindProgram(const std::string& name, const char* override);

// A program started in the background, its output read as it comes, so that
// a test can wait for what the program says before it acts. (Options'
// timeout, stdoutClosed and whileRunning do not apply.)
class BackgroundProcess {
public:
    explicit BackgroundProcess(const std::vector<std::string>& args, const ProcessOptions& options = {});
    // Kills the program if it still runs, and reaps it.
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // What it has printed so far, to wait on.
    ProcessOutput& Output() { return output_; }
    bool WaitFor(const std::function<bool(const std::string& out, const std::string& err)>& seen, double seconds) {
        return output_.WaitFor(seen, seconds);
    }
    std::string Out() { return output_.Out(); }
    std::string Err() { return output_.Err(); }
    // Waits up to `seconds` for the end, killing the program then; what it
    // printed and how it ended, as RunProcess tells them.
    ProcessResult Wait(double seconds);

private:
    void Read(int out, int err);

    pid_t pid_ = -1;
    int pty_ = -1;
    std::thread reader_;
    ProcessOutput output_;
    bool timedOut_ = false;
    int status_ = -1000;
};
