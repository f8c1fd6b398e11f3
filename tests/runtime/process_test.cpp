#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/harness/process.h"

namespace {

ProcessResult run_fault(const std::string& what, StdinKind stdinKind = StdinKind::Empty,
                        const std::string& input = "") {
    ProcessOptions options;
    options.stdinKind = stdinKind;
    options.input = input;
    return RunProcess({FAULT_PROGRAM, what}, options);
}

const std::string kReport = "Vantle Runtime Error : Out of air\n\n";
const std::string kStopLines = "{{~~(null)~~}}\n\n";

TEST(Process, RuntimeErrorReportsAndExitsWithMinusOneWhateverTheInput) {
    struct Case {
        const char* name;
        StdinKind kind;
    };
    for (const Case& c : {Case{"at its end", StdinKind::Empty}, Case{"empty pipe", StdinKind::Pipe},
                          Case{"terminal", StdinKind::Terminal}}) {
        ProcessResult r = run_fault("error", c.kind);
        EXPECT_FALSE(r.timedOut) << c.name;
        EXPECT_EQ(r.status, 255) << c.name;
        EXPECT_EQ(r.out, kReport) << c.name;
        EXPECT_EQ(r.err, kStopLines) << c.name;
    }
}

TEST(Process, StopProtocolOverAPipe) {
    struct Case {
        const char* name;
        std::string input;
        int status;
        std::string out;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"run on, then end of input", "r\n", 255, kReport + kReport, kStopLines + kStopLines},
        {"each run-on command", "e\nl\ns\n", 255, kReport + kReport + kReport + kReport,
         kStopLines + kStopLines + kStopLines + kStopLines},
        {"ignored line, then quit", "?\nq\n", 0, kReport, kStopLines},
        {"unknown command", "x marks\n", 255, kReport + "????? x marks ?????", kStopLines},
        {"line without newline", "r", 255, kReport, kStopLines},
        {"null object dump", "@0\nq\n", 0, kReport, kStopLines + "\n"},
    };
    for (const Case& c : cases) {
        ProcessResult r = run_fault("error", StdinKind::Pipe, c.input);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_EQ(r.err, c.err) << c.name;
    }
}

TEST(Process, DebuggerDumpsAnObject) {
    // The program prints its object's address first; a second run, with the
    // same address layout, asks for it.
    const std::vector<std::string> fixedLayout = {"/usr/bin/setarch", "-R", FAULT_PROGRAM, "debug"};
    ProcessResult first = RunProcess(fixedLayout);
    std::string address = first.out.substr(0, first.out.find('\n'));
    ProcessOptions options;
    options.stdinKind = StdinKind::Pipe;
    options.input = "@" + address + "\nq\n";
    ProcessResult r = RunProcess(fixedLayout, options);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, kStopLines + "+Object\n\n");
}

TEST(Process, EndingsAndOutput) {
    struct Case {
        const char* what;
        int status;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"quit", 0, ""},
        {"print", 0, "caf\xC3\xA9\n"},
        {"throw", 255, "Vantle Runtime Error : Uncaught Vantle Exception\n"},
        {"segv", 255, "Vantle Runtime Error : Memory access violation\n\n"},
        {"fpe", 255, "Vantle Runtime Error : Floating point exception\n\n"},
        {"ill", 255, "Vantle Runtime Error : Illegal instruction\n\n"},
        {"nothing", 0, ""},
    };
    for (const Case& c : cases) {
        ProcessResult r = run_fault(c.what);
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_EQ(r.out, c.out) << c.what;
    }
}

// A fault while another thread holds the output's lock is still reported, and
// the program ends instead of waiting for that lock.
TEST(Process, AFaultIsReportedWhateverTheProgramHeld) {
    ProcessOptions options;
    options.timeoutSeconds = 10;
    ProcessResult r = RunProcess({FAULT_PROGRAM, "segv-output-held"}, options);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "Vantle Runtime Error : Memory access violation\n\n");
    EXPECT_EQ(r.err, kStopLines);
}

// Printing to a closed pipe fails quietly; the program goes on to its end.
TEST(Process, OutputToAClosedPipeDoesNotEndTheProgram) {
    ProcessOptions options;
    options.stdoutClosed = true;
    ProcessResult r = RunProcess({FAULT_PROGRAM, "print"}, options);
    EXPECT_EQ(r.status, 0) << "a status of -13 is SIGPIPE";
    EXPECT_EQ(r.err, "");
}

TEST(Process, WithoutADisplayGlfwInitFails) {
    for (const char* program : {FAULT_PROGRAM, GLIMMERDEEP_EXE}) {
        ProcessOptions options;
        options.env = {"DISPLAY", "WAYLAND_DISPLAY"};
        ProcessResult r = RunProcess({program}, options);
        EXPECT_EQ(r.status, 255) << program;
        EXPECT_NE(r.out.find("GLFW Error: err=65544, msg="), std::string::npos) << r.out;
        const std::string tail = "glfwInit failed\n";
        ASSERT_GE(r.out.size(), tail.size());
        EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
    }
}

}  // namespace
