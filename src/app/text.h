// Bounded text handling: every copy into a fixed field and every formatted
// message goes through these two helpers.
#ifndef ZENTOR_TEXT_H
#define ZENTOR_TEXT_H

#include <stddef.h>

// Copies src into dst of size bytes, always NUL-terminated.
// Returns 1 when the whole text fit, 0 when it was cut.
int copyText(char* dst, size_t size, const char* src);

// Appends src to the text in dst of size bytes, cut to fit.
// Returns 1 when the whole text fit, 0 when it was cut.
int appendText(char* dst, size_t size, const char* src);

// printf-style formatting into dst of size bytes, always NUL-terminated.
// Returns 1 when the whole text fit, 0 when it was cut.
int formatText(char* dst, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// The same for wide text: size is in characters.
int copyWideText(wchar_t* dst, size_t size, const wchar_t* src);

// Copies into a character array whose size the compiler knows.
template <size_t N>
inline int copyField(char (&dst)[N], const char* src) { return copyText(dst, N, src); }

#endif
