// Saving and loading a large data file (400 menus of 99 items, about
// 11.7 MB) against reading and writing the same bytes with one fread and one
// fwrite call. Medians over the rounds; goal 3 x for the save (which also
// makes the file durable), 2 x for the load.
#include <windows.h>
#include <io.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "app/app.h"
#include "bench_util.h"
#include "big_menus.h"
#include "menus/menu_file.h"
#include "menus/menu_list.h"
#include "app/text.h"

constexpr int MENUS = BIG_MENUS;
constexpr int ITEMS = BIG_ITEMS;
constexpr long FILE_SIZE = 4 + MENUS * (MENU_RECORD_SIZE + ITEMS * APP_RECORD_SIZE);

static long countApps()
{
    long apps = 0;
    for (MenuNode* m = menuList; m; m = m->next)
        for (AppNode* a = m->firstApp; a; a = a->next)
            apps++;
    return apps;
}

int main(int argc, char** argv)
{
    int rounds = roundsArgument(argc, argv, 7);
    enterBenchFolder("zentor-bench-data");
    copyField(dataFilePath, "bench.zt");
    const char* plainPath = "plain.bin";

    buildBigMenus();
    std::vector<char> bytes(FILE_SIZE);
    std::vector<double> saveMs, loadMs, writeMs, readMs, durableMs, allocMs;
    for (int r = 0; r < rounds; r++) {
        double t0 = nowMs();
        int saved = saveMenuFile();
        double t1 = nowMs();
        if (!saved || fileSize(dataFilePath) != FILE_SIZE) {
            printf("data file: save failed or wrote %ld bytes, not %ld\n",
                   fileSize(dataFilePath), FILE_SIZE);
            return 2;
        }
        freeAllMenus();
        double t2 = nowMs();
        loadMenuFile();
        double t3 = nowMs();
        long apps = countApps();
        if (apps != (long)MENUS * ITEMS) {
            printf("data file: load gave %ld items, not %d\n", apps, MENUS * ITEMS);
            return 2;
        }

        double t4 = nowMs();
        FILE* in = fopen(dataFilePath, "rb");
        size_t got = in ? fread(bytes.data(), 1, bytes.size(), in) : 0;
        if (in)
            fclose(in);
        double t5 = nowMs();
        FILE* out = fopen(plainPath, "wb");
        size_t put = out ? fwrite(bytes.data(), 1, bytes.size(), out) : 0;
        if (out)
            fclose(out);
        double t6 = nowMs();
        if (got != bytes.size() || put != bytes.size()) {
            printf("data file: plain read %zu and write %zu of %zu bytes\n", got, put,
                   bytes.size());
            return 2;
        }
        // For the reader of the figures: what the save's own safety costs
        // (flush to disk, then rename over the old file), and what the load
        // spends on taking its records from the heap.
        double t7 = nowMs();
        out = fopen("durable.new", "wb");
        if (out) {
            fwrite(bytes.data(), 1, bytes.size(), out);
            fflush(out);
            FlushFileBuffers((HANDLE)_get_osfhandle(_fileno(out)));
            fclose(out);
            MoveFileExA("durable.new", "durable.bin",
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        }
        double t8 = nowMs();
        std::vector<MenuNode*> menuRecords;
        std::vector<AppNode*> appRecords;
        menuRecords.reserve(MENUS);
        appRecords.reserve(MENUS * ITEMS);
        double t9 = nowMs();
        for (int m = 0; m < MENUS; m++) {
            menuRecords.push_back(newMenuNode());
            for (int i = 0; i < ITEMS; i++)
                appRecords.push_back(newAppNode());
        }
        double t10 = nowMs();
        for (MenuNode* record : menuRecords)
            releaseMenuNode(record);
        for (AppNode* record : appRecords)
            releaseAppNode(record);

        saveMs.push_back(t1 - t0);
        durableMs.push_back(t8 - t7);
        allocMs.push_back(t10 - t9);
        loadMs.push_back(t3 - t2);
        readMs.push_back(t5 - t4);
        writeMs.push_back(t6 - t5);
    }
    freeAllMenus();
    DeleteFileA(dataFilePath);
    DeleteFileA(plainPath);
    DeleteFileA("durable.bin");

    printf("data file: %d menus x %d items, %ld bytes, %d rounds, medians\n", MENUS, ITEMS,
           FILE_SIZE, rounds);
    int met = reportRatio("save", "saveMenuFile", median(saveMs), "one fwrite",
                          median(writeMs), 3.0);
    met &= reportRatio("load", "loadMenuFile", median(loadMs), "one fread", median(readMs),
                       2.0);
    printf("  (for comparison: one fwrite made durable with FlushFileBuffers and a rename "
           "%.1f ms; taking %d records from the heap %.1f ms)\n",
           median(durableMs), MENUS * (ITEMS + 1), median(allocMs));
    return met ? 0 : 1;
}
