// The status text at the right end of the bar (time, and on request date,
// free memory and battery charge) and the hourly chime.
#ifndef ZENTOR_STATUS_H
#define ZENTOR_STATUS_H

#include <stddef.h>
#include <windows.h>

extern int chimePlayed; // 1 from the chime in minute 0 until a refresh in minute 1

constexpr int STATUS_TEXT_SIZE = 90;
constexpr int DATE_TEXT_SIZE = 50;
constexpr int BATTERY_TEXT_SIZE = 16;
constexpr int STATUS_RIGHT_MARGIN = 7;
constexpr UINT NONCLIENT_METRICS_SIZE = 340;

void updateStatus();

// Draws the text alone, without redrawing the menu bar first. The bar calls
// it after every repaint of its frame, since the menu bar's own painting
// (which may come after a refresh) covers the text.
void drawStatusText();

// The pieces put together: time, then "  date" when date is given, then
// "  <n>k" when memoryK >= 0, then "  <p>%" when batteryPercent >= 0. main
// gets the text without the battery piece, battery the battery piece alone.
void composeStatus(char* full, size_t fullSize, char* main, size_t mainSize, char* battery,
                   size_t batterySize, const char* time, const char* date, long memoryK,
                   int batteryPercent);

// Colour of the battery charge p (0 to 100, or 255 when unknown).
COLORREF batteryColor(int percent);

// Where the text stands in the bar's window coordinates.
int statusLeft(int screenWidth, int textWidth);
int statusTop(int menuHeight, int textHeight);

// The chime's part of a refresh in the given minute of the hour.
void chimeCheck(int minute);

// Starts playing a WAV file and returns at once (PlaySoundA, asynchronous);
// FALSE when it could not be started. In a file of its own so tests can
// replace it.
BOOL playWavFile(const char* path);

#endif
