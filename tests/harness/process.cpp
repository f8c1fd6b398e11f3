#include "tests/harness/process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/harness/files.h"

static void apply_env(const std::vector<std::string>& env) {
    for (const std::string& e : env) {
        size_t eq = e.find('=');
        if (eq == std::string::npos)
            unsetenv(e.c_str());
        else
            setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
}

// Starts the child with its standard output and error on pipes, and its
// standard input as asked; `in` is the write end of an input pipe (or -1),
// `pty` the master of a terminal (or -1).
static pid_t spawn(const std::vector<std::string>& args, const ProcessOptions& options, int outPipe[2],
                   int errPipe[2], int* in, int* pty) {
    int inPipe[2] = {-1, -1};
    int ptyMaster = -1, ptySlave = -1;
    if (pipe(outPipe) || pipe(errPipe)) std::abort();
    if (options.stdinKind == StdinKind::Pipe && pipe(inPipe)) std::abort();
    if (options.stdinKind == StdinKind::Terminal && openpty(&ptyMaster, &ptySlave, nullptr, nullptr, nullptr))
        std::abort();

    pid_t pid = fork();
    if (pid == 0) {
        // A child outlives no test: when the test program ends, however it
        // ends, so does the program it started.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        int input = -1;
        if (options.stdinKind == StdinKind::Empty) input = open("/dev/null", O_RDONLY);
        if (options.stdinKind == StdinKind::Pipe) input = inPipe[0];
        if (options.stdinKind == StdinKind::Terminal) input = ptySlave;
        dup2(input, 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (int fd = 3; fd < 1024; ++fd) close(fd);
        // Ignored signals stay ignored across exec; this process may have
        // ignored SIGPIPE to write a child's input.
        signal(SIGPIPE, SIG_DFL);
        apply_env(options.env);
        if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) _exit(126);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (ptySlave >= 0) close(ptySlave);
    if (inPipe[0] >= 0) close(inPipe[0]);
    *in = inPipe[1];
    *pty = ptyMaster;
    return pid;
}

static int exit_status(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return -WTERMSIG(status);
    return -1000;
}

ProcessResult RunProcess(const std::vector<std::string>& args, const ProcessOptions& options) {
    int outPipe[2], errPipe[2], in = -1, ptyMaster = -1;
    pid_t pid = spawn(args, options, outPipe, errPipe, &in, &ptyMaster);

    if (options.stdoutClosed) {
        close(outPipe[0]);
        outPipe[0] = -1;
    }
    if (in >= 0) {
        signal(SIGPIPE, SIG_IGN);
        size_t done = 0;
        while (done < options.input.size()) {
            ssize_t n = write(in, options.input.data() + done, options.input.size() - done);
            if (n <= 0) break;
            done += size_t(n);
        }
        close(in);
    }

    std::thread companion;
    if (options.whileRunning) companion = std::thread(options.whileRunning, pid);

    ProcessResult result;
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(int(options.timeoutSeconds * 1000));
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = outPipe[0] >= 0 ? 2 : 1;
    while (open > 0) {
        int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(
                           deadline - std::chrono::steady_clock::now()).count());
        if (left <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, 2, left) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, size_t(n));
                if (options.output) options.output->Add(i + 1, buffer, size_t(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (pollfd& f : fds)
        if (f.fd >= 0) close(f.fd);

    if (options.output) options.output->End();
    int status = 0;
    waitpid(pid, &status, 0);
    if (companion.joinable()) companion.join();
    if (ptyMaster >= 0) close(ptyMaster);
    result.status = exit_status(status);
    return result;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& args, const ProcessOptions& options) {
    int outPipe[2], errPipe[2], in = -1, ptyMaster = -1;
    pid_ = spawn(args, options, outPipe, errPipe, &in, &ptyMaster);
    if (in >= 0) {
        signal(SIGPIPE, SIG_IGN);
        if (write(in, options.input.data(), options.input.size()) < 0) {}
        close(in);
    }
    pty_ = ptyMaster;
    reader_ = std::thread([this, out = outPipe[0], err = errPipe[0]] { Read(out, err); });
}

BackgroundProcess::~BackgroundProcess() {
    Wait(0);
}

// Reads both pipes until the child closes them, as it ends.
void BackgroundProcess::Read(int out, int err) {
    pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                output_.Add(i + 1, buffer, size_t(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    output_.End();
}

void ProcessOutput::Add(int stream, const char* bytes, size_t length) {
    std::lock_guard<std::mutex> lock(mutex_);
    (stream == 1 ? out_ : err_).append(bytes, length);
    changed_.notify_all();
}

void ProcessOutput::End() {
    std::lock_guard<std::mutex> lock(mutex_);
    ended_ = true;
    changed_.notify_all();
}

bool ProcessOutput::WaitFor(const std::function<bool(const std::string& out, const std::string& err)>& seen,
                            double seconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(long(seconds * 1000));
    while (!seen(out_, err_)) {
        if (ended_ || changed_.wait_until(lock, deadline) == std::cv_status::timeout) return seen(out_, err_);
    }
    return true;
}

bool ProcessOutput::WaitForErr(const std::string& text, double seconds) {
    return WaitFor([&](const std::string&, const std::string& err) { return err.find(text) != std::string::npos; },
                   seconds);
}

std::string ProcessOutput::Out() {
    std::lock_guard<std::mutex> lock(mutex_);
    return out_;
}

std::string ProcessOutput::Err() {
    std::lock_guard<std::mutex> lock(mutex_);
    return err_;
}

ProcessResult BackgroundProcess::Wait(double seconds) {
    if (pid_ > 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(long(seconds * 1000));
        int status = 0;
        pid_t done = 0;
        while ((done = waitpid(pid_, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (done == 0) {
            timedOut_ = true;
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
        status_ = exit_status(status);
        pid_ = -1;
    }
    if (reader_.joinable()) reader_.join();
    if (pty_ >= 0) close(pty_);
    pty_ = -1;
    ProcessResult result;
    result.status = status_;
    result.timedOut = timedOut_;
    result.out = Out();
    result.err = Err();
    return result;
}

std::string FindProgram(const std::string& name, const char* override) {
    if (const char* chosen = std::getenv(override); chosen && *chosen) return chosen;
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= folders.size();) {
        size_t colon = folders.find(':', start);
        if (colon == std::string::npos) colon = folders.size();
        const std::string folder = folders.substr(start, colon - start);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = colon + 1;
    }
    return {};
}

bool Alive(pid_t pid) {
    std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    size_t paren = stat.rfind(')');
    if (paren == std::string::npos || paren + 2 >= stat.size()) return false;
    const char state = stat[paren + 2];
    return state != 'Z' && state != 'X';
}

long ResidentKb(pid_t pid) {
    std::istringstream status(ReadFile("/proc/" + std::to_string(pid) + "/status"));
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}
