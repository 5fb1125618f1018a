#pragma once
// What every benchmark measures with and prints: a millisecond clock, the
// process's private bytes, best and median of a few rounds, and each figure
// against the limit it is held to. A figure over its limit is reported, not
// failed: times on a shared machine are noisy, and CI runs small inputs.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace Bench {

inline double NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / frequency;
}

inline PROCESS_MEMORY_COUNTERS MemoryCounters()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

// The process's private bytes now and at their peak.
inline double PrivateMegabytes()
{
    return static_cast<double>(MemoryCounters().PagefileUsage) / 1048576.0;
}

inline double PeakPrivateMegabytes()
{
    return static_cast<double>(MemoryCounters().PeakPagefileUsage) / 1048576.0;
}

// Times of the rounds of one figure.
class Samples {
public:
    void Add(double ms) { m_times.push_back(ms); }
    double Best() const { return m_times.empty() ? 0 : *std::min_element(m_times.begin(), m_times.end()); }
    double Median() const
    {
        if (m_times.empty())
            return 0;
        std::vector<double> sorted = m_times;
        std::sort(sorted.begin(), sorted.end());
        const size_t middle = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }

private:
    std::vector<double> m_times;
};

inline const char* Verdict(double value, double limit)
{
    return value <= limit ? "within limit" : "OVER LIMIT";
}

// "<what>  best <b> ms  median <m> ms".
inline void PrintTime(const char* what, const Samples& samples)
{
    std::printf("%-40s best %9.2f ms   median %9.2f ms\n", what, samples.Best(), samples.Median());
}

inline void PrintTimeLimit(const char* what, const Samples& samples, double limitMs)
{
    std::printf("%-40s best %9.2f ms   median %9.2f ms   limit %.0f ms: %s\n", what, samples.Best(),
                samples.Median(), limitMs, Verdict(samples.Best(), limitMs));
}

// A ratio of two figures (best against best, median against median).
inline void PrintRatio(const char* what, const Samples& part, const Samples& base, double limit)
{
    const double best = base.Best() > 0 ? part.Best() / base.Best() : 0;
    const double median = base.Median() > 0 ? part.Median() / base.Median() : 0;
    std::printf("%-40s best %8.2fx     median %8.2fx     limit %.1fx: %s\n", what, best, median, limit,
                Verdict(best, limit));
}

inline void PrintValueLimit(const char* what, double value, const char* unit, double limit)
{
    std::printf("%-40s %9.2f%s   limit %.1f%s: %s\n", what, value, unit, limit, unit, Verdict(value, limit));
}

} // namespace Bench
