// Runs the registered benchmarks and keeps their results by name, so that a
// benchmark program can print figures that compare two of them, and knows
// whether any of them failed its own checks (SkipWithError).
//
// Each program ends with one line per figure (bench/figure.h).
#pragma once

#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/figure.h"

class KeepingReporter : public benchmark::ConsoleReporter {
public:
    // In colour on a terminal only: in a file the codes would run into the
    // lines the game prints.
    KeepingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    std::map<std::string, Run> runs;
    std::vector<std::string> failed;  // with the reason each gave

    void ReportRuns(const std::vector<Run>& report) override {
        for (const Run& run : report) {
            runs[run.benchmark_name()] = run;
            if (run.error_occurred) failed.push_back(run.benchmark_name() + ": " + run.error_message);
        }
        ConsoleReporter::ReportRuns(report);
    }

    // Whether `name` ran to the end with its checks passed.
    bool Ran(const std::string& name) const {
        auto it = runs.find(name);
        return it != runs.end() && !it->second.error_occurred && it->second.iterations > 0;
    }

    // CPU time of one iteration, in nanoseconds.
    double CpuNs(const std::string& name) const {
        auto it = runs.find(name);
        if (it == runs.end() || it->second.iterations == 0) return 0;
        return it->second.GetAdjustedCPUTime() * ToNs(it->second.time_unit);
    }

    // Wall time of one iteration, in nanoseconds.
    double RealNs(const std::string& name) const {
        auto it = runs.find(name);
        if (it == runs.end() || it->second.iterations == 0) return 0;
        return it->second.GetAdjustedRealTime() * ToNs(it->second.time_unit);
    }

    double Counter(const std::string& name, const std::string& counter) const {
        auto it = runs.find(name);
        if (it == runs.end()) return 0;
        auto c = it->second.counters.find(counter);
        return c == it->second.counters.end() ? 0 : double(c->second);
    }

private:
    static double ToNs(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kSecond: return 1e9;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kMicrosecond: return 1e3;
        default: return 1;
        }
    }
};

// Prints every failure; the exit status a program ends with.
inline int ExitStatus(const KeepingReporter& reporter) {
    for (const std::string& f : reporter.failed) std::fprintf(stderr, "FAILED %s\n", f.c_str());
    return reporter.failed.empty() ? 0 : 1;
}

// Runs everything registered; returns false when the command line was wrong.
inline bool RunBenchmarks(int argc, char** argv, KeepingReporter& reporter) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return true;
}
