#include "tests/harness/process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

static void apply_env(const std::vector<std::string>& env) {
    for (const std::string& e : env) {
        size_t eq = e.find('=');
        if (eq == std::string::npos)
            unsetenv(e.c_str());
        else
            setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
}

ProcessResult RunProcess(const std::vector<std::string>& args, const ProcessOptions& options) {
    int outPipe[2], errPipe[2], inPipe[2] = {-1, -1};
    int ptyMaster = -1, ptySlave = -1;
    if (pipe(outPipe) || pipe(errPipe)) std::abort();
    if (options.stdinKind == StdinKind::Pipe && pipe(inPipe)) std::abort();
    if (options.stdinKind == StdinKind::Terminal && openpty(&ptyMaster, &ptySlave, nullptr, nullptr, nullptr))
        std::abort();

    pid_t pid = fork();
    if (pid == 0) {
        int in = -1;
        if (options.stdinKind == StdinKind::Empty) in = open("/dev/null", O_RDONLY);
        if (options.stdinKind == StdinKind::Pipe) in = inPipe[0];
        if (options.stdinKind == StdinKind::Terminal) in = ptySlave;
        dup2(in, 0);
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
    if (options.stdoutClosed) {
        close(outPipe[0]);
        outPipe[0] = -1;
    }
    if (ptySlave >= 0) close(ptySlave);
    if (inPipe[0] >= 0) {
        close(inPipe[0]);
        signal(SIGPIPE, SIG_IGN);
        size_t done = 0;
        while (done < options.input.size()) {
            ssize_t n = write(inPipe[1], options.input.data() + done, options.input.size() - done);
            if (n <= 0) break;
            done += size_t(n);
        }
        close(inPipe[1]);
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
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (pollfd& f : fds)
        if (f.fd >= 0) close(f.fd);

    int status = 0;
    waitpid(pid, &status, 0);
    if (companion.joinable()) companion.join();
    if (ptyMaster >= 0) close(ptyMaster);
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.status = -WTERMSIG(status);
    return result;
}
