// The User Menus editor and its setup dialogs, made from the real templates
// in this process and driven with the messages a user's actions send. The
// boxes are answered by the fake message box, the file dialog and the
// drop's file query by the stand-ins below.
#include <gtest/gtest.h>

#include <windows.h>
#include <malloc.h>
#include <shlobj.h>
#include <string.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/text.h"
#include "dialogs/dropped_files.h"
#include "dialogs/file_browse.h"
#include "dialogs/menu_editor.h"
#include "resource.h"
#include "test_support.h"

static std::wstring wideOf(const std::string& utf8)
{
    std::wstring text(utf8.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &text[0],
                                    (int)text.size()));
    return text;
}

// The file dialog's stand-in: what it was asked and from which directory.
static OPENFILENAMEW askedFile;
static std::string askedFrom;
static const char* chosenFile = nullptr; // UTF-8; null: the user cancels

BOOL getOpenFileName(OPENFILENAMEW* request, DWORD* error)
{
    askedFile = *request;
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof dir, dir);
    askedFrom = dir;
    // A path longer than the buffer fails, as in the real dialog.
    std::wstring chosen = chosenFile ? wideOf(chosenFile) : L"";
    int fits = chosenFile && chosen.size() < request->nMaxFile;
    if (fits)
        memcpy(request->lpstrFile, chosen.c_str(), (chosen.size() + 1) * sizeof(WCHAR));
    *error = chosenFile && !fits ? FNERR_BUFFERTOOSMALL : 0;
    return fits;
}

namespace {

const int NONE = -1, KEEP = -2;
const UINT DBL_MENU = MAKEWPARAM(IDC_MENU_LIST, LBN_DBLCLK);
const UINT DBL_APP = MAKEWPARAM(IDC_APP_LIST, LBN_DBLCLK);
const char* ITEM_Q = "?Are you sure you want to delete this item?";
const char* MENU_Q = "?Are you sure you want to delete\nthis menu and all related apps?";
// A path one character longer than an entry's path field holds.
const std::string TOO_LONG = "C:\\" + std::string(73, 'p') + ".exe";

// Menus as "Name:entry,-entry Name2:" ("-": a separator stands above it).
void build(const std::string& text)
{
    std::istringstream menus(text);
    std::string menu, name;
    while (menus >> menu) {
        MenuNode* m = newMenuNode();
        copyField(m->name, menu.substr(0, menu.find(':')).c_str());
        appendMenu(m);
        std::istringstream entries(menu.substr(menu.find(':') + 1));
        while (std::getline(entries, name, ',')) {
            AppNode* a = newAppNode();
            a->separatorBefore = name[0] == '-';
            copyField(a->name, name.c_str() + a->separatorBefore);
            formatText(a->path, sizeof a->path, "%s.exe", a->name);
            appendApp(m, a);
        }
    }
}

// The lists in the same form, with any broken link or count marked.
std::string describe()
{
    std::string text;
    for (MenuNode* m = menuList; m; m = m->next) {
        text += std::string(text.empty() ? "" : " ") + m->name + ":";
        int count = 0;
        AppNode* prev = nullptr;
        for (AppNode* a = m->firstApp; a; prev = a, a = a->next, count++)
            text += std::string(count ? "," : "") + (a->separatorBefore ? "-" : "") + a->name +
                    (a->prev != prev ? "<link>" : "");
        if (count != m->appCount)
            text += "<count " + std::to_string(m->appCount) + ">";
        if (m->next && m->next->prev != m)
            text += "<link>";
    }
    return text;
}

std::string menuNames()
{
    std::string names;
    for (MenuNode* m = menuList; m; m = m->next)
        names += std::string(names.empty() ? "" : "|") + m->name;
    return names;
}

// Confirmations as "?text", warnings as "!text", each checked for its form.
std::string boxTexts()
{
    std::string text;
    for (const RecordedBox& box : recordedBoxes) {
        bool confirm = box.caption == "Confirm Deletion";
        text += std::string(text.empty() ? "" : " / ") + (confirm ? "?" : "!") + box.text;
        if (confirm ? box.type != MB_YESNO || box.owner != editorWindow
                    : box.caption != "Zentor" || box.type != MB_ICONWARNING)
            text += "<form>";
    }
    return text;
}

std::string itemText(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Runs the action on a setup dialog once the editor's modal loop shows it.
const char* setupCaptions[] = {"Menu Setup", "Application Setup"};
std::function<void(HWND)> dialogAction;
const char* dialogCaption = nullptr; // null: either setup dialog, which is cancelled
std::string dialogsSeen;

void CALLBACK onDialogTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    for (const char* caption : setupCaptions) {
        HWND dialog = FindWindowA("#32770", caption);
        if (!dialog || !IsWindowVisible(dialog) || (dialogCaption && strcmp(caption, dialogCaption)))
            continue;
        KillTimer(nullptr, timer);
        dialogsSeen += caption;
        if (dialogCaption)
            dialogAction(dialog);
        else
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

class EditorTest : public ::testing::Test {
protected:
    HWND editor = nullptr;

    void SetUp() override
    {
        resetProgramState();
        enterFreshDirectory("editor");
        copyField(dataFilePath, "editor.zt");
    }
    void TearDown() override
    {
        DestroyWindow(editor);
        resetProgramState();
    }
    void open(const std::string& menus)
    {
        DestroyWindow(editor);
        freeAllMenus();
        build(menus);
        reopen();
    }
    void reopen()
    {
        editor = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_MENU_EDITOR), nullptr,
                                    menuEditorDlgProc, 0);
        ASSERT_NE(nullptr, editor);
    }
    HWND item(int id) { return GetDlgItem(editor, id); }
    void send(UINT command) { SendMessageA(editor, WM_COMMAND, command, (LPARAM)item(LOWORD(command))); }
    void choose(int list, int line)
    {
        SendMessageA(item(list), LB_SETCURSEL, (WPARAM)line, 0);
        send(MAKEWPARAM(list, LBN_SELCHANGE));
    }
    int selected(int list) { return (int)SendMessageA(item(list), LB_GETCURSEL, 0, 0); }
    std::string lines(int list)
    {
        std::string text;
        int count = (int)SendMessageA(item(list), LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            char line[64] = "";
            SendMessageA(item(list), LB_GETTEXT, (WPARAM)i, (LPARAM)line);
            text += std::string(i ? "|" : "") + line;
        }
        return text;
    }
    // Sends the command; a setup dialog it opens gets the action (every
    // action ends its dialog).
    void withDialog(const char* caption, UINT command, std::function<void(HWND)> action)
    {
        dialogCaption = caption;
        dialogAction = std::move(action);
        dialogsSeen.clear();
        UINT_PTR timer = SetTimer(nullptr, 0, 10, onDialogTimer);
        send(command);
        KillTimer(nullptr, timer);
        EXPECT_EQ(caption ? caption : "", dialogsSeen);
    }
};

void click(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, id, (LPARAM)GetDlgItem(dialog, id));
}

TEST_F(EditorTest, OpensWithTheMenusAndEnablesDeletingOnTheFirstChoiceInEachList)
{
    open("&Apps:x,-y &Games:");
    EXPECT_EQ(editor, editorWindow);
    EXPECT_EQ("&Apps|&Games", lines(IDC_MENU_LIST));
    EXPECT_EQ("", lines(IDC_APP_LIST));
    EXPECT_FALSE(GetWindowLongA(editor, GWL_STYLE) & WS_SYSMENU) << "a close button";
    const int buttons[] = {IDC_DELETE_MENU, IDC_DELETE_ITEM, IDC_SEPARATOR};
    const char* enabled[] = {"000", "100", "111"};
    for (int step = 0; step < 3; step++) {
        if (step)
            choose(step == 1 ? IDC_MENU_LIST : IDC_APP_LIST, 0);
        for (int b = 0; b < 3; b++)
            EXPECT_EQ(enabled[step][b] == '1', !!IsWindowEnabled(item(buttons[b]))) << step << " " << b;
    }
    EXPECT_EQ("x|-------|y", lines(IDC_APP_LIST));
    // Escape's command and the close message leave it open.
    send(IDCANCEL);
    SendMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(editor));
}

TEST_F(EditorTest, CommandsActOnTheRecordTheSelectedLineStandsFor)
{
    const UINT MU = IDC_MENU_UP, MD = IDC_MENU_DOWN, AU = IDC_APP_UP, AD = IDC_APP_DOWN;
    const UINT SEP = IDC_SEPARATOR, DI = IDC_DELETE_ITEM, DM = IDC_DELETE_MENU;
    struct Row {
        const char* start;
        int menu, selectMenu, app; // chosen lines; selectMenu: then set without a notice
        UINT command;
        int answer;
        const char* data;
        const char* appLines;
        int menuSel, appSel; // afterwards; KEEP: not checked
        const char* boxes;
    } rows[] = {
        // Moves: heads, counts and the selection that follows.
        {"A: B: C:", 0, KEEP, NONE, MU, 0, "A: B: C:", "", 0, KEEP, ""},
        {"A: B: C:", 2, KEEP, NONE, MD, 0, "A: B: C:", "", NONE, KEEP, ""},
        {"A: B: C:", 1, KEEP, NONE, MU, 0, "B: A: C:", "", 0, KEEP, ""},
        {"A: B: C:", 0, KEEP, NONE, MD, 0, "B: A: C:", "", 1, KEEP, ""},
        {"M:a", 0, KEEP, 0, AU, 0, "M:a", "a", 0, 0, ""},
        {"M:a", 0, KEEP, 0, AD, 0, "M:a", "a", 0, NONE, ""},
        {"M:a,b", 0, KEEP, 0, AD, 0, "M:b,a", "b|a", 0, 1, ""},
        {"M:b,a", 0, KEEP, 1, AU, 0, "M:a,b", "a|b", 0, 0, ""},
        {"M:a,-b", 0, KEEP, 2, AU, 0, "M:-b,a", "-------|b|a", 0, 1, ""},
        // Separators: one above an entry at most, none from a separator line.
        {"M:a,b", 0, KEEP, 1, SEP, 0, "M:a,-b", "a|-------|b", 0, KEEP, ""},
        {"M:a,-b", 0, KEEP, 2, SEP, 0, "M:a,-b", "a|-------|b", 0, KEEP, ""},
        {"M:a,-b", 0, KEEP, 1, SEP, 0, "M:a,-b", "a|-------|b", 0, KEEP, ""},
        {"M:a,-b", 0, KEEP, 1, DBL_APP, 0, "M:a,-b", "a|-------|b", 0, 1, ""},
        // Deletes, after the question.
        {"M:a,-b", 0, KEEP, 1, DI, IDYES, "M:a,b", "a|b", 0, 1, ITEM_Q},
        {"M:a,-b,c", 0, KEEP, 2, DI, IDYES, "M:a,c", "a|-------|c", 0, 2, ITEM_Q},
        {"M:a,b", 0, KEEP, 0, DI, IDNO, "M:a,b", "a|b", 0, 0, ITEM_Q},
        {"M:a,b", 0, KEEP, 0, DI, IDYES, "M:b", "b", 0, 0, ITEM_Q},
        {"M:a", 0, KEEP, 0, DI, IDYES, "M:", "", 0, NONE, ITEM_Q},
        {"A:x B:y", 0, KEEP, NONE, DM, IDYES, "B:y", "", 0, KEEP, MENU_Q},
        {"A: B:", 1, KEEP, NONE, DM, IDYES, "A:", "", NONE, KEEP, MENU_Q},
        {"A:x B:", 0, KEEP, NONE, DM, IDNO, "A:x B:", "x", 0, KEEP, MENU_Q},
        // Records of the same name: the one the line stands for.
        {"X:a X:b", 1, KEEP, NONE, DM, IDYES, "X:a", "", NONE, KEEP, MENU_Q},
        {"X:a X:b", 1, KEEP, NONE, MU, 0, "X:b X:a", "b", 0, KEEP, ""},
        {"M:a,-a", 0, KEEP, 2, DI, IDYES, "M:a", "a|-------", 0, NONE, ITEM_Q},
        {"M:a,a", 0, KEEP, 1, SEP, 0, "M:a,-a", "a|-------|a", 0, KEEP, ""},
        // The list shows another menu than the one selected.
        {"A:x B:x", 0, 1, 0, DI, IDYES, "A:x B:x", "x", 1, 0,
         "?Are you sure you want to delete this item? / !Application not found in linked list!"},
        // Missing selections.
        {"A:x", NONE, KEEP, NONE, IDC_NEW_APP, 0, "A:x", "", NONE, NONE, "!Please select a menu first."},
        {"A:x", NONE, KEEP, NONE, DM, 0, "A:x", "", NONE, NONE, "!Please select a menu first."},
        {"A:x", NONE, KEEP, NONE, AU, 0, "A:x", "", NONE, NONE, "!Please select a menu first."},
        {"A:x", NONE, KEEP, NONE, DBL_MENU, 0, "A:x", "", NONE, NONE, "!Please select a menu first."},
        {"A:x", NONE, KEEP, NONE, DBL_APP, 0, "A:x", "", NONE, NONE, "!Please select a menu first."},
        {"A:x", NONE, KEEP, NONE, DI, 0, "A:x", "", NONE, NONE, "!Please select a menu first"},
        {"A:x", NONE, KEEP, NONE, SEP, 0, "A:x", "", NONE, NONE, "!Please select a menu first"},
        {"A:x", NONE, KEEP, NONE, MD, 0, "A:x", "", NONE, NONE, "!Please select a menu first"},
        {"A:x", 0, KEEP, NONE, DI, 0, "A:x", "x", 0, NONE, "!Please select an item first"},
        {"A:x", 0, KEEP, NONE, SEP, 0, "A:x", "x", 0, NONE, "!Please select an item first"},
        {"A:x", 0, KEEP, NONE, AD, 0, "A:x", "x", 0, NONE, "!Please select an app first."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.start << " command " << LOWORD(r.command) << " code "
                                        << HIWORD(r.command) << " lines " << r.menu << "/" << r.app);
        open(r.start);
        if (r.menu != NONE)
            choose(IDC_MENU_LIST, r.menu);
        if (r.selectMenu != KEEP)
            SendMessageA(item(IDC_MENU_LIST), LB_SETCURSEL, (WPARAM)r.selectMenu, 0);
        if (r.app != NONE)
            choose(IDC_APP_LIST, r.app);
        clearBoxes();
        boxAnswer = r.answer;
        withDialog(nullptr, r.command, nullptr); // none may open
        EXPECT_EQ(r.data, describe());
        EXPECT_EQ(menuNames(), lines(IDC_MENU_LIST));
        EXPECT_EQ(r.appLines, lines(IDC_APP_LIST));
        if (r.menuSel != KEEP)
            EXPECT_EQ(r.menuSel, selected(IDC_MENU_LIST));
        if (r.appSel != KEEP)
            EXPECT_EQ(r.appSel, selected(IDC_APP_LIST));
        EXPECT_EQ(r.boxes, boxTexts());
        EXPECT_TRUE(IsWindowVisible(editor));
    }
}

TEST_F(EditorTest, SetupDialogsNameMenusAndFillInEntries)
{
    open("A:x,z B:");
    auto set = [](HWND d, int id, const char* text) { SetDlgItemTextA(d, id, text); };
    withDialog("Menu Setup", IDC_NEW_MENU, [&](HWND d) {
        EXPECT_EQ(29, SendDlgItemMessageA(d, IDC_MENU_NAME, EM_GETLIMITTEXT, 0, 0));
        set(d, IDC_MENU_NAME, "C");
        click(d, IDOK);
    });
    EXPECT_EQ("A:x,z B: C:", describe());
    EXPECT_EQ("A|B|C", lines(IDC_MENU_LIST));

    // An empty name is refused and the dialog stays; Cancel keeps the old
    // name, OK puts the new one on the same line.
    choose(IDC_MENU_LIST, 1);
    for (const char* name : {"", "&Bee"})
        withDialog("Menu Setup", DBL_MENU, [&](HWND d) {
            EXPECT_EQ("B", itemText(d, IDC_MENU_NAME));
            set(d, IDC_MENU_NAME, name);
            click(d, IDOK);
            if (IsWindowVisible(d))
                click(d, IDCANCEL);
        });
    EXPECT_EQ("!The menu must have a name!", boxTexts());
    EXPECT_EQ("A:x,z &Bee: C:", describe());
    EXPECT_EQ("A|&Bee|C", lines(IDC_MENU_LIST));
    EXPECT_EQ(NONE, selected(IDC_MENU_LIST));

    // New App on a menu without entries: refused without a path, then its
    // first entry and the list's only line, with the texts and show state.
    clearBoxes();
    choose(IDC_MENU_LIST, 1);
    withDialog("Application Setup", IDC_NEW_APP, [&](HWND d) {
        const struct { int id, limit; } edits[] = {
            {IDC_APP_NAME, 29}, {IDC_APP_PATH, 79}, {IDC_APP_DIR, 79}, {IDC_APP_PARAMS, 89}};
        for (const auto& e : edits)
            EXPECT_EQ(e.limit, SendDlgItemMessageA(d, e.id, EM_GETLIMITTEXT, 0, 0)) << e.id;
        set(d, IDC_APP_NAME, "y");
        click(d, IDOK);
        set(d, IDC_APP_PATH, "c:\\y.exe");
        set(d, IDC_APP_DIR, "c:\\");
        set(d, IDC_APP_PARAMS, "/p");
        CheckRadioButton(d, IDC_SHOW_NORMAL, IDC_SHOW_MINIMIZE, IDC_SHOW_MINIMIZE);
        click(d, IDOK);
    });
    EXPECT_EQ("!The application must have a name\nand associated filename.", boxTexts());
    EXPECT_EQ("A:x,z &Bee:y C:", describe());
    EXPECT_EQ("y", lines(IDC_APP_LIST));
    AppNode* y = menuList->next->firstApp;
    EXPECT_EQ("c:\\y.exe|c:\\|/p|6", std::string(y->path) + "|" + y->workingDir + "|" +
                                         y->parameters + "|" + std::to_string(y->showCommand));

    // An entry with show command 0 opens as Normal, and OK stores 9; a new
    // name takes the old one's line.
    choose(IDC_MENU_LIST, 0);
    choose(IDC_APP_LIST, 0);
    withDialog("Application Setup", DBL_APP, [&](HWND d) {
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(d, IDC_SHOW_NORMAL));
        set(d, IDC_APP_NAME, "w");
        click(d, IDOK);
    });
    EXPECT_EQ(SW_RESTORE, menuList->firstApp->showCommand);
    EXPECT_EQ("w|z", lines(IDC_APP_LIST));
}

TEST_F(EditorTest, FindFillsOnlyThePathOpensInTheRootAndKeepsTheDirectory)
{
    open("A:x");
    choose(IDC_MENU_LIST, 0);
    choose(IDC_APP_LIST, 0);
    char before[MAX_PATH] = "", after[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof before, before);
    withDialog("Application Setup", DBL_APP, [&](HWND d) {
        SetDlgItemTextA(d, IDC_APP_DIR, "d:\\work");
        // A Hebrew letter is outside the test's code page (932).
        const char* hebrew = "C:\\tools\\ש.exe";
        for (const char* answer : {(const char*)nullptr, TOO_LONG.c_str(), hebrew, "C:\\tools\\run.exe"}) {
            bool taken = answer && answer != TOO_LONG.c_str() && answer != hebrew;
            chosenFile = answer;
            askedFrom.clear();
            clearBoxes();
            SetFocus(GetDlgItem(d, IDC_APP_NAME));
            click(d, IDC_APP_FIND);
            EXPECT_EQ("C:\\", askedFrom);
            EXPECT_EQ(std::string(taken ? answer : "x.exe") + "|x|d:\\work|",
                      itemText(d, IDC_APP_PATH) + "|" + itemText(d, IDC_APP_NAME) + "|" +
                          itemText(d, IDC_APP_DIR) + "|" + itemText(d, IDC_APP_PARAMS));
            EXPECT_EQ(GetDlgItem(d, taken ? IDOK : IDC_APP_NAME), GetFocus());
            EXPECT_EQ(answer == TOO_LONG.c_str()
                          ? "!The chosen file was not taken: its path is\nlonger than 79 characters."
                      : answer == hebrew
                          ? std::string("!The chosen file was not taken: Zentor menus can hold\nonly names "
                                        "of the system's code page, and its name is not.\n\n") + hebrew
                          : "",
                      boxTexts());
            GetCurrentDirectoryA(sizeof after, after);
            EXPECT_STREQ(before, after);
        }
        EXPECT_EQ(L"Find Executable...", std::wstring(askedFile.lpstrTitle));
        const DWORD fields[] = {askedFile.nFilterIndex, askedFile.Flags};
        EXPECT_EQ((std::vector<DWORD>{1, 0x1814}), std::vector<DWORD>(fields, fields + 2));
        EXPECT_EQ(d, askedFile.hwndOwner);
        EXPECT_EQ(nullptr, askedFile.lpstrInitialDir);
        click(d, IDCANCEL);
    });
    chosenFile = nullptr;
}

// Bytes in use on the C runtime's heap, where the requests live.
size_t heapInUse()
{
    _HEAPINFO info{};
    size_t used = 0;
    while (_heapwalk(&info) == _HEAPOK)
        used += info._useflag == _USEDENTRY ? info._size : 0;
    return used;
}

TEST_F(EditorTest, EveryWayASetupDialogEndsGivesBackItsRequestAndUnlinkedRecord)
{
    const char* endings[] = {"OK", "Cancel", "Escape", "the editor going"};
    size_t before = 0;
    for (int round = 0; round < 2; round++) { // the first warms the heap up
        open("A:x");
        choose(IDC_MENU_LIST, 0);
        before = round ? heapInUse() : 0;
        for (int ending = 0; ending < 4; ending++) {
            for (int app = 0; app < 2; app++) {
                // Records are reused last given back first: a record the
                // dialog gave back is the next one taken.
                void* probe = app ? (void*)newAppNode() : (void*)newMenuNode();
                app ? releaseAppNode((AppNode*)probe) : releaseMenuNode((MenuNode*)probe);
                withDialog(setupCaptions[app], app ? IDC_NEW_APP : IDC_NEW_MENU, [&](HWND d) {
                    SetDlgItemTextA(d, app ? IDC_APP_NAME : IDC_MENU_NAME, "n");
                    SetDlgItemTextA(d, IDC_APP_PATH, "n.exe");
                    if (ending < 2)
                        click(d, ending ? IDCANCEL : IDOK);
                    else if (ending == 2)
                        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
                    else
                        DestroyWindow(editor);
                });
                void* again = app ? (void*)newAppNode() : (void*)newMenuNode();
                EXPECT_EQ(ending != 0, probe == again) << setupCaptions[app] << " ended by " << endings[ending];
                app ? releaseAppNode((AppNode*)again) : releaseMenuNode((MenuNode*)again);
                if (!IsWindow(editor)) {
                    reopen();
                    choose(IDC_MENU_LIST, 0);
                }
            }
        }
        EXPECT_EQ("A:x,n n:", describe()) << "only OK changes the lists";
    }
    open("A:x");
    choose(IDC_MENU_LIST, 0);
    EXPECT_EQ(before, heapInUse()) << "bytes left on the heap after every ending";
}

// A text of this file (UTF-8) as the program holds it: in the ANSI code page.
std::string ansiOf(const std::string& utf8)
{
    std::wstring wide = wideOf(utf8);
    std::string text(wide.size() * 4, '\0');
    text.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), &text[0],
                                    (int)text.size(), nullptr, nullptr));
    return text;
}

std::string times(int n, const std::string& piece)
{
    std::string text;
    while (n-- > 0)
        text += piece;
    return text;
}

TEST_F(EditorTest, DroppedFilesBecomeEntriesOfTheMenuUnderThePoint)
{
    // The names below take two bytes a character in a double-byte code page,
    // which the test gets from its Japanese locale (cases_editor.cmake).
    CPINFO codePage{};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &codePage) && codePage.MaxCharSize > 1)
        << "ANSI code page " << GetACP() << " is single-byte: run with LC_ALL=ja_JP.UTF-8";
    const std::string memo = "C:\\日本\\メモ帳.EXE";
    const std::string bytesTooLong = "C:\\" + times(40, "語") + ".exe"; // 47 characters
    const std::string wideTooLong = "C:\\" + times(80, "語") + ".exe", wideTooLong2 = wideTooLong + "x";
    const std::string LONG = "These files were not added: their paths are\nlonger than 79 characters.\n\n";
    const int ABOVE = -100, DIALOG = 1;
    struct Row {
        const char* start;
        std::vector<std::string> files;
        int top, line, to; // scrolled to top; the drop's line (ABOVE: over the first); DIALOG: sent there
        const char* data;
        const char* appLines; // the first menu is chosen before the drop
        std::string lastPath; // of the target menu's last entry
        std::string box; // names the files in their own letters
    } rows[] = {
        {"A: B:", {"C:\\WINDOWS\\NOTEPAD.EXE"}, 0, 1, 0, "A: B:Notepad", "Notepad", "C:\\WINDOWS\\notepad.EXE", ""},
        {"A:x", {"C:\\DOCS\\readme", "C:\\DOCS\\README", "C:\\DOCS\\.cfg", "C:\\MY.DIR\\TOOL"}, 0, 0,
         DIALOG, "A:x,TOOL,Default Name,README,Readme", "x|TOOL|Default Name|README|Readme",
         "C:\\DOCS\\readme", ""},
        {"A:", {"C:\\x\\abcdefghijklmnopqrstuvwxyzABCDEFGHIJ.TXT"}, 0, 0, 0, "A:Abcdefghijklmnopqrstuvwxyzabc",
         "Abcdefghijklmnopqrstuvwxyzabc", "C:\\x\\abcdefghijklmnopqrstuvwxyzabcdefghij.TXT", ""},
        {"A:", {"C:\\one.exe", TOO_LONG, "C:\\two.exe"}, 0, 0, 0, "A:Two,One", "Two|One", "C:\\one.exe",
         LONG + TOO_LONG},
        // Paths are measured in the bytes they take here, not in characters.
        {"A:", {bytesTooLong, memo, wideTooLong, wideTooLong2}, 0, 0, 0, "A:メモ帳", "メモ帳", memo,
         LONG + bytesTooLong + "\n" + wideTooLong + "\n" + wideTooLong2},
        // A name outside the code page is refused, the rest of the drop taken.
        {"A:", {"C:\\x\\שלום.exe", memo}, 0, 0, 0, "A:メモ帳", "メモ帳", memo,
         "These files were not added: Zentor menus can hold only\nnames of the system's code page, "
         "and theirs are not.\n\nC:\\x\\שלום.exe"},
        {"0: 1: 2: 3: 4: 5: 6: 7: 8: 9: 10: 11:", {"C:\\a.exe"}, 5, 1, 0,
         "0: 1: 2: 3: 4: 5: 6:A 7: 8: 9: 10: 11:", "A", "C:\\a.exe", ""},
        {"A: B:", {"C:\\a.exe"}, 0, 2, 0, "A: B:", "", "", ""},
        {"A:", {"C:\\a.exe"}, 0, ABOVE, 0, "A:", "", "", ""},
        {"", {"C:\\a.exe"}, 0, 0, 0, "", "", "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.start << " drop on line " << r.line);
        open(r.start);
        choose(IDC_MENU_LIST, 0);
        SendMessageA(item(IDC_MENU_LIST), LB_SETTOPINDEX, (WPARAM)r.top, 0);
        int height = (int)SendMessageA(item(IDC_MENU_LIST), LB_GETITEMHEIGHT, 0, 0);
        // A wide drop, as the shell makes them.
        size_t size = sizeof(DROPFILES) + sizeof(WCHAR);
        for (const std::string& f : r.files)
            size += (wideOf(f).size() + 1) * sizeof(WCHAR);
        HGLOBAL drop = GlobalAlloc(GHND, size);
        DROPFILES* files = (DROPFILES*)GlobalLock(drop);
        files->pFiles = sizeof(DROPFILES);
        files->pt = {5, r.line == ABOVE ? -2 : r.line * height + height / 2};
        files->fWide = TRUE;
        WCHAR* at = (WCHAR*)(files + 1);
        for (const std::string& f : r.files) {
            std::wstring name = wideOf(f);
            at = (WCHAR*)memcpy(at, name.c_str(), (name.size() + 1) * sizeof(WCHAR)) + name.size() + 1;
        }
        GlobalUnlock(drop);
        clearBoxes();
        SendMessageA(r.to == DIALOG ? editor : item(IDC_MENU_LIST), WM_DROPFILES, (WPARAM)drop, 0);
        EXPECT_EQ(0u, GlobalSize(drop)) << "the drop was not finished";
        EXPECT_EQ(ansiOf(r.data), describe());
        EXPECT_EQ(ansiOf(r.appLines), lines(IDC_APP_LIST));
        EXPECT_EQ(r.box.empty() ? "" : "!" + r.box, boxTexts());
        if (!r.lastPath.empty()) {
            MenuNode* target = menuList;
            for (int i = 0; i < r.top + r.line; i++)
                target = target->next;
            AppNode* last = target->firstApp;
            while (last->next)
                last = last->next;
            EXPECT_EQ(ansiOf(r.lastPath), last->path);
            EXPECT_EQ(r.top + r.line, selected(IDC_MENU_LIST));
        }
    }
}

} // namespace
