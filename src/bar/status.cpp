#include "status.h"

#include <string.h>
#include <time.h>

#include "bar_dpi.h"
#include "bar_window.h"
#include "../app/app.h"
#include "../app/message_box.h"
#include "../app/start_paths.h"
#include "../app/text.h"
#include "../options/options.h"

int chimePlayed = 0;

void composeStatus(char* full, size_t fullSize, char* main, size_t mainSize, char* battery,
                   size_t batterySize, const char* time, const char* date, long memoryK,
                   int batteryPercent)
{
    char piece[32];
    copyText(full, fullSize, time);
    if (date) {
        appendText(full, fullSize, "  ");
        appendText(full, fullSize, date);
    }
    if (memoryK >= 0) {
        formatText(piece, sizeof piece, "  %ldk", memoryK);
        appendText(full, fullSize, piece);
    }
    copyText(main, mainSize, full);
    battery[0] = '\0';
    if (batteryPercent >= 0) {
        formatText(battery, batterySize, "  %d%%", batteryPercent);
        appendText(full, fullSize, battery);
    }
}

COLORREF batteryColor(int percent)
{
    if (percent >= 26)
        return RGB(0, 128, 0);
    if (percent >= 11)
        return RGB(255, 255, 0);
    return RGB(192, 0, 0);
}

int statusLeft(int screenWidth, int textWidth)
{
    return screenWidth - textWidth - STATUS_RIGHT_MARGIN;
}

int statusTop(int menuHeight, int textHeight)
{
    return (menuHeight - textHeight + BAR_EXTRA_HEIGHT) / 2;
}

void chimeCheck(int minute)
{
    if (userOptions.chimeHourly && minute == 0 && !chimePlayed) {
        // Set first: the warning box below runs a message loop in which the
        // clock timer calls us again.
        chimePlayed = 1;
        char wav[MAX_PATH];
        pathFromStart(userOptions.wavFile, wav, sizeof wav);
        if (!playWavFile(wav))
            showWarning("Error playing WAV file.\nCheck path and filename.");
    } else if (minute == 1) {
        chimePlayed = 0;
    }
}

static int currentMinute()
{
    _tzset();
    time_t now = time(nullptr);
    struct tm* local = localtime(&now);
    return local ? local->tm_min : -1;
}

// Builds the three texts from the system's clock, memory and power status.
static void readStatus(char* full, char* main, char* battery, int* percent)
{
    char time[STATUS_TEXT_SIZE];
    if (!GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time,
                        sizeof time))
        time[0] = '\0';

    char date[DATE_TEXT_SIZE] = "";
    if (userOptions.displayDate &&
        !GetDateFormatA(LOCALE_SYSTEM_DEFAULT, 0, nullptr, nullptr, date, sizeof date))
        date[0] = '\0';

    long memoryK = -1;
    if (userOptions.displayMemory) {
        MEMORYSTATUS memory;
        memory.dwLength = sizeof memory;
        GlobalMemoryStatus(&memory);
        memoryK = (long)(memory.dwAvailPhys / 1024);
    }

    *percent = -1;
#ifndef ZENTOR_NT3
    if (onBattery) {
        SYSTEM_POWER_STATUS power;
        if (getPowerStatus(&power))
            *percent = power.BatteryLifePercent;
        else
            *percent = 255;
    }
#endif
    composeStatus(full, STATUS_TEXT_SIZE, main, STATUS_TEXT_SIZE, battery, BATTERY_TEXT_SIZE,
                  time, userOptions.displayDate ? date : nullptr, memoryK, *percent);
}

// Draws the status text over the right end of the menu bar.
void drawStatusText()
{
    char full[STATUS_TEXT_SIZE], main[STATUS_TEXT_SIZE], battery[BATTERY_TEXT_SIZE];
    int percent;
    readStatus(full, main, battery, &percent);

    HDC dc = GetWindowDC(barWindow);
    if (!dc)
        return;
#ifdef ZENTOR_NT3
    HFONT font = nullptr;
    HGDIOBJ oldFont = nullptr;
#else
    NONCLIENTMETRICSA metrics;
    memset(&metrics, 0, sizeof metrics);
    metrics.cbSize = NONCLIENT_METRICS_SIZE; // the classic layout every Windows accepts
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0);
    // The menu font at the bar's DPI, as the menu bar beside the text has it.
    metrics.lfMenuFont.lfHeight = scaleToBar(metrics.lfMenuFont.lfHeight);
    HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
#endif
    COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
    int oldMode = SetBkMode(dc, TRANSPARENT);

    int screenWidth = barWidth();
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, full, (int)strlen(full), &extent);
    TEXTMETRICA textMetrics;
    memset(&textMetrics, 0, sizeof textMetrics);
    GetTextMetricsA(dc, &textMetrics);
    int x = statusLeft(screenWidth, extent.cx);
    // Centred in the bar's height at its DPI.
    int y = statusTop(barHeight() - BAR_EXTRA_HEIGHT, textMetrics.tmHeight);

    TextOutA(dc, x, y, main, (int)strlen(main));
    if (percent >= 0) {
        SetTextColor(dc, batteryColor(percent));
        SIZE batteryExtent = {0, 0};
        GetTextExtentPoint32A(dc, battery, (int)strlen(battery), &batteryExtent);
        TextOutA(dc, statusLeft(screenWidth, batteryExtent.cx), y, battery,
                 (int)strlen(battery));
    }

    SetBkMode(dc, oldMode);
    if (oldFont)
        SelectObject(dc, oldFont);
    if (font)
        DeleteObject(font);
    SetTextColor(dc, oldColor);
    ReleaseDC(barWindow, dc);
}

void updateStatus()
{
    int minute = currentMinute();
    // The frame and its menu bar are repainted now, which also clears the
    // old text; the bar draws the text after every repaint of its frame.
    if (barShown && barWindow)
        SendMessageA(barWindow, WM_NCPAINT, 1, 0);
    chimeCheck(minute);
}
