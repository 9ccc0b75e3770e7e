#pragma once

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Prints as usual and remembers each benchmark's time per iteration, so a program can
// print how its own code compares with the baseline measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    // "ours / baseline: ratio (target <= limit)", when both ran.
    void PrintRatio(const char* ours, const char* baseline, double limit) const
    {
        const double a = TimeOf(ours);
        const double b = TimeOf(baseline);
        if (a > 0 && b > 0)
            std::printf("%s / %s: %.2f (target <= %.2f)\n", ours, baseline, a / b, limit);
    }

private:
    // The time of the benchmark whose name starts with prefix; 0 when it did not run.
    double TimeOf(const std::string& prefix) const
    {
        for (const auto& [name, time] : times) {
            if (name.rfind(prefix, 0) == 0)
                return time;
        }
        return 0;
    }

    std::map<std::string, double> times;
};
