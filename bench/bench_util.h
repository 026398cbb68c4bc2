// Timing and reporting shared by the benchmarks. Each figure is printed on
// one line with its ratio to the goal; a missed goal makes the benchmark's
// exit code nonzero, which bench.sh turns into its own.
#ifndef ZENTOR_BENCH_UTIL_H
#define ZENTOR_BENCH_UTIL_H

#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

// The number of rounds given as the first argument, or the default.
inline int roundsArgument(int argc, char** argv, int fallback)
{
    int rounds = argc > 1 ? atoi(argv[1]) : fallback;
    return rounds < 1 ? fallback : rounds;
}

// Makes the folder of that name in the temporary folder the current one.
inline void enterBenchFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    SetCurrentDirectoryA(folder.c_str());
}

// The size of a file, -1 when it is missing.
inline long fileSize(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return -1;
    return (long)data.nFileSizeLow;
}

inline double nowMs()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (double)counter.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// "what: <subject> 85.1 ms, <base> 80.2 ms, ratio 1.06 (goal <= 1.20)";
// returns 1 when the ratio meets the goal.
inline int reportRatio(const char* what, const char* subject, double subjectMs,
                       const char* base, double baseMs, double goal)
{
    double ratio = baseMs > 0 ? subjectMs / baseMs : 0;
    int met = baseMs > 0 && ratio <= goal;
    printf("%s: %s %.1f ms, %s %.1f ms, ratio %.2f (goal <= %.2f)%s\n", what, subject,
           subjectMs, base, baseMs, ratio, goal, met ? "" : "  MISSED");
    fflush(stdout);
    return met;
}

#endif
