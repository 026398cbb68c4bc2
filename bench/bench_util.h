// Timing and reporting shared by the benchmarks. Each figure is printed on
// one line with its ratio to the goal; a missed goal makes the benchmark's
// exit code nonzero, which bench.sh turns into its own.
#ifndef ZENTOR_BENCH_UTIL_H
#define ZENTOR_BENCH_UTIL_H

#include <windows.h>
#include <io.h>

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

// Writes the bytes to path durably, the way the program saves its data file:
// into a new file beside it, flushed to the disk before it is closed, then
// renamed over the old one with the rename written through. 1 on success.
inline int writeDurably(const char* path, const void* bytes, size_t count)
{
    std::string temporary = std::string(path) + ".new";
    FILE* out = fopen(temporary.c_str(), "wb");
    if (!out)
        return 0;
    int ok = fwrite(bytes, 1, count, out) == count;
    ok = fflush(out) == 0 && FlushFileBuffers((HANDLE)_get_osfhandle(_fileno(out))) && ok;
    ok = fclose(out) == 0 && ok;
    return ok && MoveFileExA(temporary.c_str(), path,
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
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

// The same line for a comparison shown for information, which has no goal:
// "what: <subject> 85.1 ms, <base> 40.2 ms, ratio 2.12 (not a goal)".
inline void reportYardstick(const char* what, const char* subject, double subjectMs,
                            const char* base, double baseMs)
{
    printf("%s: %s %.1f ms, %s %.1f ms, ratio %.2f (not a goal)\n", what, subject, subjectMs,
           base, baseMs, baseMs > 0 ? subjectMs / baseMs : 0);
    fflush(stdout);
}

#endif
