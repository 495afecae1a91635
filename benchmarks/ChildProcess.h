#pragma once
// Runs a program as a child process for the benchmarks that time whole programs: its wall
// time, CPU time and peak resident memory, with its output thrown away; and medians of
// such results over runs.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace bench
{
struct SRunResult
{
    double m_seconds = 0;    // wall time
    double m_cpuSeconds = 0; // user and system time
    long m_peakKb = 0;
    bool m_ok = false;
};

// Runs args[0] (found on PATH) in folder with the extra environment variables; waits.
inline SRunResult RunChild(const std::vector<std::string>& args, const std::string& folder,
                           const std::vector<std::pair<std::string, std::string>>& environment = {})
{
    std::fflush(nullptr); // or the child would flush our buffered output again
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0)
    {
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        for (const auto& variable : environment)
            setenv(variable.first.c_str(), variable.second.c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    SRunResult result;
    if (child < 0)
        return result;
    int status = 0;
    struct rusage usage = {};
    wait4(child, &status, 0, &usage);
    result.m_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.m_cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                          double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    result.m_peakKb = usage.ru_maxrss;
    result.m_ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

// Each figure's median on its own; failed if any run failed.
inline SRunResult Median(std::vector<SRunResult> results)
{
    SRunResult median;
    if (results.empty())
        return median;
    const size_t middle = results.size() / 2;
    auto middleOf = [&](auto field) {
        std::sort(results.begin(), results.end(), [&](const SRunResult& x, const SRunResult& y) {
            return x.*field < y.*field;
        });
        return results[middle].*field;
    };
    median.m_seconds = middleOf(&SRunResult::m_seconds);
    median.m_cpuSeconds = middleOf(&SRunResult::m_cpuSeconds);
    median.m_peakKb = middleOf(&SRunResult::m_peakKb);
    median.m_ok = std::all_of(results.begin(), results.end(), [](const SRunResult& r) { return r.m_ok; });
    return median;
}
} // namespace bench
