// The menu lists of the benchmarks: by default 400 menus of 99 items, their
// text fields filled most of their width as long real paths would, every
// tenth item with a separator above it.
#ifndef ZENTOR_BIG_MENUS_H
#define ZENTOR_BIG_MENUS_H

#include "app/text.h"
#include "menus/menu_list.h"

constexpr int BIG_MENUS = 400;
constexpr int BIG_ITEMS = 99;

inline void buildBigMenus(int menus = BIG_MENUS, int items = BIG_ITEMS)
{
    for (int m = 0; m < menus; m++) {
        MenuNode* menu = newMenuNode();
        formatText(menu->name, sizeof menu->name, "&Menu number %d of the bench", m);
        appendMenu(menu);
        for (int i = 0; i < items; i++) {
            AppNode* a = newAppNode();
            formatText(a->path, sizeof a->path,
                       "c:\\program files\\some vendor\\product %d\\bin\\program%d.exe", m, i);
            formatText(a->workingDir, sizeof a->workingDir,
                       "c:\\users\\someone\\documents\\project %d\\work", i);
            formatText(a->parameters, sizeof a->parameters, "/open \"file %d.txt\" /mode %d",
                       i, m);
            formatText(a->name, sizeof a->name, "Item %d of menu %d", i, m);
            a->showCommand = i % 2 ? 9 : 3;
            a->separatorBefore = i % 10 == 0;
            appendApp(menu, a);
        }
    }
}

#endif
