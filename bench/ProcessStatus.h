#pragma once
// Figures of the running process that the benchmarks print beside their times.

#include <fstream>
#include <string>

// A "/proc/self/status" field in kibibytes ("VmRSS", "VmHWM" for the peak), or -1 when absent.
inline long ReadStatusKb(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::stol(line.substr(prefix.size()));
    }
    return -1;
}
