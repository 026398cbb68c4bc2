// Saving and loading a large data file (400 menus of 99 items, about
// 11.7 MB): the save against writing the same bytes durably as the save does
// (a new file flushed to the disk, then renamed over the old one), goal
// 1.1 x; the load against one fread of the same bytes, goal 2 x. The save
// against one fwrite, which leaves the bytes in the cache, is shown for
// information. Medians over the rounds.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "app/app.h"
#include "bench_util.h"
#include "big_menus.h"
#include "menus/menu_file.h"
#include "menus/menu_format.h"
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
    int rounds = roundsArgument(argc, argv, 8);
    // The save and its floor come first in as many rounds each.
    rounds += rounds % 2;
    enterBenchFolder("zentor-bench-data");
    copyField(dataFilePath, "bench.zt");
    const char* plainPath = "plain.bin";
    const char* durablePath = "durable.bin";

    buildBigMenus();
    // The bytes of the data file, for the plain and durable writes. From the
    // first round on, the save and the durable write each replace a file of
    // their own.
    std::vector<char> bytes(FILE_SIZE);
    FILE* first = saveMenuFile() ? fopen(dataFilePath, "rb") : nullptr;
    size_t firstGot = first ? fread(bytes.data(), 1, bytes.size(), first) : 0;
    if (first)
        fclose(first);
    if (firstGot != bytes.size() || !writeDurably(durablePath, bytes.data(), bytes.size())) {
        printf("data file: cannot save the menus or write their bytes durably\n");
        return 2;
    }
    std::vector<double> saveMs, loadMs, writeMs, readMs, durableMs, allocMs, packMs;
    // For the reader of the figures: the part of the save the durable write
    // does not do, putting the records into the file's bytes.
    std::vector<uint8_t> packed(FILE_SIZE);
    for (int r = 0; r < rounds; r++) {
        // The save and its floor take turns at coming first: each leaves the
        // disk busy for whatever comes next.
        for (int turn = 0; turn < 2; turn++) {
            double t0 = nowMs();
            if ((r + turn) % 2 == 0) {
                int saved = saveMenuFile();
                saveMs.push_back(nowMs() - t0);
                if (!saved || fileSize(dataFilePath) != FILE_SIZE) {
                    printf("data file: save failed or wrote %ld bytes, not %ld\n",
                           fileSize(dataFilePath), FILE_SIZE);
                    return 2;
                }
            } else {
                int written = writeDurably(durablePath, bytes.data(), bytes.size());
                durableMs.push_back(nowMs() - t0);
                if (!written) {
                    printf("data file: the durable write failed\n");
                    return 2;
                }
            }
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
        if (got != bytes.size()) {
            printf("data file: plain read %zu of %zu bytes\n", got, bytes.size());
            return 2;
        }
        // For the reader of the figures: what the load spends on taking its
        // records from the heap.
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

        double t11 = nowMs();
        uint8_t* at = packed.data() + 4;
        for (MenuNode* m = menuList; m; m = m->next) {
            packMenuRecord(m, at);
            at += MENU_RECORD_SIZE;
            for (AppNode* a = m->firstApp; a; a = a->next, at += APP_RECORD_SIZE)
                packAppRecord(a, at);
        }
        packMs.push_back(nowMs() - t11);

        allocMs.push_back(t10 - t9);
        loadMs.push_back(t3 - t2);
        readMs.push_back(t5 - t4);
    }
    // The plain writes come last: each leaves its bytes going to the disk
    // after it has returned, and the save or durable write that came next
    // waited on them (5 to 15 ms longer, seen here).
    for (int r = 0; r < rounds; r++) {
        double t0 = nowMs();
        FILE* out = fopen(plainPath, "wb");
        size_t put = out ? fwrite(bytes.data(), 1, bytes.size(), out) : 0;
        if (out)
            fclose(out);
        writeMs.push_back(nowMs() - t0);
        if (put != bytes.size()) {
            printf("data file: plain write %zu of %zu bytes\n", put, bytes.size());
            return 2;
        }
    }
    freeAllMenus();
    DeleteFileA(dataFilePath);
    DeleteFileA(plainPath);
    DeleteFileA(durablePath);

    printf("data file: %d menus x %d items, %ld bytes, %d rounds, medians\n", MENUS, ITEMS,
           FILE_SIZE, rounds);
    int met = reportRatio("save", "saveMenuFile", median(saveMs),
                          "the same bytes written durably", median(durableMs), 1.1);
    reportYardstick("  save", "saveMenuFile", median(saveMs), "one fwrite, not durable",
                    median(writeMs));
    met &= reportRatio("load", "loadMenuFile", median(loadMs), "one fread", median(readMs),
                       2.0);
    printf("  (for comparison: packing the records into the file's bytes %.1f ms)\n",
           median(packMs));
    printf("  (for comparison: taking %d records from the heap %.1f ms)\n", MENUS * (ITEMS + 1),
           median(allocMs));
    return met ? 0 : 1;
}
