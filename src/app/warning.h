// The program's warning box, owned by the bar (no owner before the bar
// exists). Declared apart from the box itself so code without platform
// calls can warn.
#ifndef ZENTOR_WARNING_H
#define ZENTOR_WARNING_H

void showWarning(const char* text);
// The warning with a wide text, for names the ANSI code page cannot show.
void showWideWarning(const wchar_t* text);

// printf-style warning, formatted in full however long the arguments.
void showWarningf(const char* format, ...) __attribute__((format(printf, 1, 2)));

#endif
