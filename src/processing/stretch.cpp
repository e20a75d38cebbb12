#include "stretch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/core/commands.h"
#include "display/histogram.h"
#include "display/window_display.h"
#include "filter_kernels.h"
#include "platform/desktop.h"
#include "platform/services.h"
#include "progress_dialog.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/plane_copies.h"
#include "store/planes.h"

uint16_t stretch_table[STRETCH_ENTRIES];
uint32_t black = 0;
uint32_t white = 0;
double power_str = 1.0;

void reset_stretch_state()
{
    std::fill(std::begin(stretch_table), std::end(stretch_table), 0);
    black = 0;
    white = 0;
    power_str = 1.0;
}

namespace {
constexpr double TOP = 32767.0;

// The value a table entry takes from a non-negative formula result: truncated, at most 32767.
uint16_t capped(double v)
{
    return v > TOP ? 32767 : static_cast<uint16_t>(static_cast<int32_t>(v));
}

std::string text_with_number(const char* format, long long n)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, n);
    return buffer;
}
}

void normal_table(uint16_t* t, uint32_t black_level, uint32_t white_level)
{
    const int64_t low = 128 * static_cast<int64_t>(black_level);
    const int64_t high = std::min<int64_t>(128 * static_cast<int64_t>(white_level), STRETCH_ENTRIES);
    const double m = 255.0 / static_cast<double>(white_level - black_level);
    for (int64_t i = 0; i < STRETCH_ENTRIES; ++i) {
        if (i < low)
            t[i] = 0;
        else if (i < high)
            t[i] = capped(static_cast<double>(i - low) * m);
        else
            t[i] = 32767;
    }
}

void power_table(uint16_t* t, double p)
{
    const double m = 1.0 / std::pow(32768.0, p - 1.0);
    for (int i = 0; i < STRETCH_ENTRIES; ++i)
        t[i] = capped(std::pow(static_cast<double>(i), p) * m);
}

void sine_table(uint16_t* t)
{
    for (int i = 0; i < STRETCH_ENTRIES; ++i)
        t[i] = static_cast<uint16_t>(static_cast<int32_t>((std::sin((i - 16384) / 10432.0) + 1.0) * 16383.0));
}

void background_table(uint16_t* t, int32_t background)
{
    const int64_t b = 128 * static_cast<int64_t>(background - 2);
    const double m = 255.0 / static_cast<double>(257 - background);
    for (int64_t i = 0; i < STRETCH_ENTRIES; ++i)
        t[i] = i < b ? 0 : capped(static_cast<double>(i - b) * m);
}

void varnel_table(uint16_t* t, uint32_t power)
{
    const double e = static_cast<double>(power);
    for (int i = 0; i < STRETCH_ENTRIES; ++i) {
        const double f = i / 32768.0;
        t[i] = capped(32768.0 * e * f / (f * (e - 1.0) + 1.0));
    }
}

void log_table(uint16_t* t)
{
    for (int i = 0; i < STRETCH_ENTRIES; ++i)
        t[i] = capped(std::log(static_cast<double>(i + 1)) * 3151.0);
}

void antilog_table(uint16_t* t)
{
    for (int i = 0; i < STRETCH_ENTRIES; ++i)
        t[i] = capped(std::pow(2.71828, i / 3151.0) - 1.0);
}

void invert_table(uint16_t* t)
{
    for (int i = 0; i < STRETCH_ENTRIES; ++i)
        t[i] = static_cast<uint16_t>(32767 - i);
}

void apply_stretch(uint16_t* plane, int begin, int end, const uint16_t* t)
{
    apply_stretch_table(plane, begin, end, t);
}

void contrast_stretch()
{
    LongOperation busy;
    WaitCursor wait(*services().desktop);
    set_progress_caption("CONTRAST STRETCH");
    progress = 0;
    auto window = std::make_unique<TProgressDialog>();
    window->Create();
    undo_save_option();
    // Ten rows, then sixteen equal chunks: together exactly width1 x height1 samples.
    const int chunk = binned ? 6580 : 26790;
    if (!is_header_marked(image_int))
        apply_stretch(image_int, 0, width1_10, stretch_table);
    for (int k = 0; k < 16; ++k) {
        window->ProgressUpdate();
        const int from = width1_10 + k * chunk;
        apply_stretch(image_int, from, from + chunk, stretch_table);
        progress += 16;
    }
    window->CloseWindow(IDCANCEL);
    window.reset();
    image_prepare();
}

namespace {
void stretch_and_record(const std::string& history)
{
    send_command(CMD_CONTRAST_STRETCH);
    history_append(history);
}
}

void ContrastNormal()
{
    const uint32_t b = black, w = white;
    normal_table(stretch_table, b, w);
    black = b * 128;
    white = w * 128;
    char text[64];
    std::snprintf(text, sizeof text, "Normal Stretch : max %u ,min %u", w, b);
    stretch_and_record(text);
}

void ContrastPower()
{
    power_table(stretch_table, power_str);
    char text[64];
    std::snprintf(text, sizeof text, "Power Stretch : %1.1f", power_str);
    stretch_and_record(text);
}

void ContrastSine()
{
    sine_table(stretch_table);
    stretch_and_record("Sine Stretch");
}

void ContrastBackground()
{
    // Only a background level that leaves a positive black index and a finite slope is usable.
    const int32_t p = most_pop;
    if (p <= 2 || p > 255)
        return;
    background_table(stretch_table, p);
    black = static_cast<uint32_t>((p - 2) * 128);
    stretch_and_record(text_with_number("Background Removed : min %lld", p - 2));
}

void ContrastVarnel()
{
    varnel_table(stretch_table, white);
    stretch_and_record(text_with_number("Non-Linear Stretch : power %lld", white));
}

void logstretch()
{
    log_table(stretch_table);
    stretch_and_record("Log Stretch");
}

void antilog()
{
    antilog_table(stretch_table);
    stretch_and_record("Anti-Log Stretch");
}

void ContrastInvert()
{
    invert_table(stretch_table);
    stretch_and_record("Invert Image to Negative");
}
