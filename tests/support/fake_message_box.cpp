// Stands in for the real message box: records what the program shows and
// answers at once with boxAnswer.
#include "app/message_box.h"
#include "test_support.h"

std::vector<RecordedBox> recordedBoxes;
int boxAnswer = IDOK;

void clearBoxes()
{
    recordedBoxes.clear();
    boxAnswer = IDOK;
}

int showMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    recordedBoxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    return boxAnswer;
}

int showWideMessageBox(HWND owner, const wchar_t* text, const char* caption, UINT type)
{
    std::string utf8(text ? wcslen(text) * 4 + 1 : 1, '\0');
    utf8.resize(text ? (size_t)WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], (int)utf8.size(),
                                                   nullptr, nullptr)
                     : 1);
    utf8.resize(utf8.empty() ? 0 : utf8.size() - 1);
    recordedBoxes.push_back({owner, utf8, caption ? caption : "", type, true});
    return boxAnswer;
}
