// Writes the fuzz targets' seed files with the program's own code: data
// files as the program saves them (and cut short), option blocks as it
// stores them, and command lines (one argument a line). Runs under Wine:
//   make_fuzz_corpus <folder>   (scripts/fuzz.sh --corpus does so)
#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/text.h"
#include "menus/menu_file.h"
#include "menus/menu_list.h"
#include "options/options.h"
#include "test_support.h"

using Bytes = std::vector<unsigned char>;

static std::string folder;

static void put(const char* target, const char* name, const Bytes& bytes)
{
    std::string dir = folder + "\\" + target;
    CreateDirectoryA(dir.c_str(), nullptr);
    writeFileBytes(dir + "\\" + name, bytes);
}

static Bytes saved()
{
    copyField(dataFilePath, "seed.zt");
    saveMenuFile();
    freeAllMenus();
    return readFileBytes("seed.zt");
}

// The large bench file's kind of menus (long paths, every field used), a
// few of them.
static Bytes manyMenus()
{
    for (int m = 0; m < 3; m++) {
        MenuNode* menu = newMenuNode();
        formatText(menu->name, sizeof menu->name, "&Menu number %d of the bench", m);
        appendMenu(menu);
        for (int i = 0; i < 4; i++) {
            AppNode* a = newAppNode();
            formatText(a->path, sizeof a->path,
                       "c:\\program files\\some vendor\\product %d\\bin\\program%d.exe", m, i);
            formatText(a->workingDir, sizeof a->workingDir,
                       "c:\\users\\someone\\documents\\project %d\\work", i);
            formatText(a->parameters, sizeof a->parameters, "/open \"file %d.txt\" /mode %d", i,
                       m);
            formatText(a->name, sizeof a->name, "Item %d of menu %d", i, m);
            a->showCommand = i % 2 ? 9 : 3;
            a->separatorBefore = i % 2;
            appendApp(menu, a);
        }
    }
    return saved();
}

static void putMenuFiles()
{
    put("menu_file", "no-file", {});
    put("menu_file", "no-menus", saved());
    put("menu_file", "many-menus", manyMenus());
    buildDefaultMenus();
    const Bytes menus = saved();
    put("menu_file", "default-menus", menus);
    // Cut short: in the version word (fatal), behind it, in the first menu
    // record, in its first item (fatal), behind the first menu, in the
    // second menu record, in the second menu's last item (fatal).
    for (size_t at : {2, 4, 30, 200, 644, 670, 1100})
        put("menu_file", ("default-menus-cut-" + std::to_string(at)).c_str(),
            Bytes(menus.begin(), menus.begin() + at));
    for (unsigned char version : {101, 103}) {
        Bytes old = menus;
        old[0] = version;
        put("menu_file", ("version-" + std::to_string(version)).c_str(), old);
    }
    // Counts no file can hold, and one below zero.
    for (int32_t count : {2000000000, -5, 0x7fffffff}) {
        Bytes file(menus.begin(), menus.begin() + 348);
        for (int b = 0; b < 4; b++)
            file[36 + b] = (unsigned char)((uint32_t)count >> (8 * b));
        put("menu_file", ("count-" + std::to_string(count)).c_str(), file);
    }
}

static void putOptionBlocks()
{
    UserOptions o{};
    o.alwaysOnTop = 1;
    o.displayMemory = 1;
    o.autoHide = 1;
    Bytes block(OPTIONS_SIZE);
    packOptions(&o, block.data());
    put("option_block", "defaults", block);
    o = UserOptions{1, 1, 1, 1, 1, 0, 7, ""};
    memset(o.wavFile, 'w', WAV_FILE_SIZE - 1);
    packOptions(&o, block.data());
    put("option_block", "all-set-long-wav", block);
    block[OPTIONS_SIZE - 1] = 'w';
    put("option_block", "wav-unterminated", block);
    put("option_block", "obsolete-107", Bytes(block.begin(), block.end() - 1));
    Bytes longer = block;
    longer.push_back(0);
    put("option_block", "obsolete-109", longer);
}

static void putCommandLines()
{
    const struct {
        const char* name;
        std::string line;
    } lines[] = {
        {"none", ""},
        {"switches", "-s\n+c\n-d\n+m\n-b\n+a"},
        {"profile-and-file", "fred\n-f\nmy.zt"},
        {"file-last", "+b\n-f"},
        {"file-refused", "-f\n1.zt\n-f\n-s\n-f\n\\\\server\\menus.zt"},
        {"unknown", "-x\n-S\n+\n-\n-bottom"},
        {"profiles", "fred\nmary\n"},
        {"too-long", "a-profile-name-of-25-chars\n-f\n" + std::string(90, 'p')},
    };
    for (const auto& l : lines)
        put("command_line", l.name, Bytes(l.line.begin(), l.line.end()));
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    folder = argv[1];
    resetProgramState();
    enterFreshDirectory("fuzz-corpus");
    putMenuFiles();
    putOptionBlocks();
    putCommandLines();
    return recordedBoxes.empty() ? 0 : 1;
}
