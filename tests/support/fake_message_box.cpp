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
