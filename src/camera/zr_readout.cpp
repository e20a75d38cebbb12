#include "zr_readout.h"

#include <algorithm>
#include <cstring>

#include "camera/usb_hid.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "store/flags.h"
#include "store/planes.h"

int exposure = 0;
char exp_range = 's';
int exp_value = 1;
int download_time = 3000;
int interlaced_line = 0;
int max_value = 0;
long selfguiding_exposure = 0;
int switched_frame = 0;

namespace {
constexpr int BLOCK_LINE_BINNED = 416, BLOCK_LINE_FULL = 832;

void control(uint8_t code)
{
    std::memset(camdata, 0, sizeof camdata);
    camdata[0] = 2;
    camdata[1] = code;
    WriteUSBdevice(camdata, 8);
}

// Bytes 1 to 7 of a block read: the exposure bytes, the window bytes and the mode.
void block_request(uint8_t mode, bool window)
{
    exposure_bytes(exposure, camdata[1], camdata[2]);
    uint8_t w[4] = {};
    if (window)
        window_bytes(focus_x, focus_y, w);
    std::memcpy(camdata + 3, w, 4);
    camdata[7] = mode;
}

void window_read()
{
    block_request(1, true);
    ByteCount = WINDOW_BLOCK_BYTES;
    ReceiveBlock();
    std::memcpy(image_int, ReportBuffer, WINDOW_BLOCK_BYTES);
}

const uint16_t* block_sample(int line, int width, int sample)
{
    return reinterpret_cast<const uint16_t*>(ReportBuffer) + static_cast<size_t>(line) * width + sample;
}
}

void ZR_wiper() { control(1); }
void ZR_clearvert() { control(2); }
void ZR_reader() { control(3); }
void ZR_reader2() { control(4); }
void ZR_reader3() { control(5); }

int range_exposure(char range, long value)
{
    switch (range) {
    case 'h': return static_cast<int>(value * 10);
    case 't': return static_cast<int>(value * 100);
    case 'q': return static_cast<int>(value);
    default: return static_cast<int>(value * 1000);
    }
}

void exposure_bytes(int ms, uint8_t& low, uint8_t& high)
{
    if (ms < 500) {
        low = static_cast<uint8_t>(ms % 256);
        high = ms > 255 ? 1 : 0;
    } else {
        low = high = 0;
    }
}

void window_bytes(int fx, int fy, uint8_t out[4])
{
    const uint16_t xpos = static_cast<uint16_t>(fx + 64);
    const uint16_t ypos = static_cast<uint16_t>(fy + 64);
    out[0] = static_cast<uint8_t>(ypos + 201);
    out[1] = static_cast<uint8_t>(34 - ypos);
    const int column = (static_cast<int16_t>(xpos) - 40) / 3;   // truncation toward zero
    out[2] = static_cast<uint8_t>(column);
    out[3] = static_cast<uint8_t>(250 - out[2]);
}

void ZR_binned_read()
{
    block_request(0, false);
    ByteCount = BINNED_BLOCK_BYTES;
    ReceiveBlock();
    for (int r = 0; r < BINNED_HEIGHT; ++r)
        std::memcpy(image_int + r * BINNED_WIDTH, block_sample(6 + r, BLOCK_LINE_BINNED, 14), BINNED_WIDTH * 2);
}

void ZR_first_read()
{
    block_request(2, false);
    ByteCount = FIELD_BLOCK_BYTES;
    Clock& clock = *services().clock;
    if (download_time == 3000 && exposure > 500) {
        const int64_t before = clock.ticks();
        ReceiveBlock();
        download_time = static_cast<int>(clock.ticks() - before);
    } else {
        ReceiveBlock();
    }
    const int first_row = interlaced_line ? 1 : 0;
    for (int r = 0; r < BINNED_HEIGHT; ++r)
        std::memcpy(image_int + (2 * r + first_row) * FULL_WIDTH, block_sample(8 + r, BLOCK_LINE_FULL, 26),
                    FULL_WIDTH * 2);
}

void ZR_focus_read() { window_read(); }
void ZR_guide_read() { window_read(); }

void host_timed_exposure(long ms)
{
    Clock& clock = *services().clock;
    const int64_t end = clock.ticks() + ms;
    if (ms < 500)
        return;
    while (clock.ticks() < end) {
        if (ms > 600)
            ZR_clearvert();
    }
}

uint16_t window_peak(const uint16_t* window)
{
    uint16_t peak = 0;
    for (int y = 12; y <= 125; ++y)
        for (int x = 5; x <= 125; ++x) {
            const uint16_t a = window[y * SUBFRAME_SIDE + x] / 4;
            const uint16_t u = window[(y - 1) * SUBFRAME_SIDE + x] / 4;
            if (a > peak && u > peak)
                peak = a;
        }
    return peak;
}

void stretch_window(uint16_t* window)
{
    if (max_stretch || focus_stretch >= 16)
        return;
    static constexpr uint32_t factors[6] = {48, 32, 16, 8, 4, 2};
    const uint32_t factor = factors[std::clamp(focus_stretch - 10, 0, 5)];
    for (int i = 0; i < SUBFRAME_SAMPLES; ++i) {
        const uint32_t product = window[i] * factor;
        window[i] = product >= 65535 ? 65535 : static_cast<uint16_t>(product);
    }
}

uint16_t ZR_camera_read()
{
    exposure = range_exposure(exp_range, exp_value);
    ZR_clearvert();
    ZR_wiper();
    host_timed_exposure(exposure);
    ZR_reader();
    ZR_focus_read();
    const uint16_t peak = window_peak(image_int);
    stretch_window(image_int);
    return peak;
}

void ZR_camera_guide()
{
    exposure = range_exposure(exp_range, exp_value);
    ZR_clearvert();
    ZR_wiper();
    host_timed_exposure(exposure);
    ZR_reader();
    ZR_guide_read();
    stretch_window(image_int);
}

void ZR_camera_selfguide()
{
    ZR_clearvert();
    host_timed_exposure(selfguiding_exposure);
    if (switched_frame)
        ZR_reader3();
    else
        ZR_reader2();
    ZR_guide_read();
    stretch_window(image_int);
}

void fill_binned(uint16_t* fredptr)
{
    for (int y = 1; y <= 577; y += 2) {
        uint16_t* row = fredptr + y * FULL_WIDTH;
        for (int x = 0; x < FULL_WIDTH; ++x)
            row[x] = static_cast<uint16_t>((row[x - FULL_WIDTH] + row[x + FULL_WIDTH]) / 2);
    }
}

int variation_bias(const uint16_t* fredptr)
{
    long sum = 0, count = 0;
    for (int x = 1; x < FULL_WIDTH; ++x)
        if (fredptr[x] < 4000) {
            sum += fredptr[x];
            ++count;
        }
    return count ? static_cast<int>(sum / count * 8 / 10) : 0;
}

void correct_variation(uint16_t* fredptr)
{
    const int bias = variation_bias(fredptr);
    auto level = [&](int row, int x) { return static_cast<int>(fredptr[row * FULL_WIDTH + x]) - bias; };

    // Mean ratio of the odd field to its two even neighbours, per band of 257 levels.
    float sum[257] = {}, count[257] = {};
    for (int y = 3; y <= 285; ++y)
        for (int x = 10; x <= 740; ++x) {
            const int p1 = level(2 * y, x), p2 = level(2 * y + 1, x), p3 = level(2 * y + 2, x);
            if (!(p1 > 2000 && p1 < 60000 && p3 > 2000 && p3 < 60000))
                continue;
            const float q = static_cast<float>(p1) / static_cast<float>(p3);
            if (!(q > 0.75f && q < 1.5f))
                continue;
            const float mean = (p1 + p3) * 0.5f;
            const float ratio = mean == 0.0f ? 1.0f : static_cast<float>(p2) / mean;
            // Levels far below the bias land in the lowest band rather than outside the table.
            const int bucket = std::clamp(p2 / 257, 0, 256);
            sum[bucket] += ratio;
            count[bucket] += 1.0f;
        }
    for (int k = 1; k <= 255; ++k)
        if (count[k] > 1.0f)
            sum[k] /= count[k];

    // Straight line ratio = m x band + c0 through the bands that hold samples.
    double n = 0, xav = 0, yav = 0;
    for (int k = 1; k <= 255; ++k)
        if (count[k] > 0.0f) {
            n += 1;
            xav += k;
            yav += sum[k];
        }
    if (n == 0)
        return;
    xav /= n;
    yav /= n;
    double dkk = 0, dkr = 0;
    for (int k = 1; k <= 255; ++k)
        if (count[k] > 0.0f) {
            dkk += (k - xav) * (k - xav);
            dkr += (k - xav) * (sum[k] - yav);
        }
    dkk /= n;
    dkr /= n;
    if (dkk == 0)
        return;
    const double m = dkr / dkk, c0 = yav - m * xav;

    // The odd rows below the mean of their neighbours are divided by the line's ratio at their
    // level, which brings the odd field to the even field's level. Only a ratio below 1 (the odd
    // field darker) can lift such a sample; a line that says otherwise at some level (a fit
    // driven by the cores of undersampled stars rather than by the field gains) is not applied
    // there, and neither is one that would raise a sample by more than a third.
    for (int y = 1; y <= 287; ++y)
        for (int x = 1; x < FULL_WIDTH; ++x) {
            const int p1 = std::max(0, level(2 * y, x));
            const int p3 = std::max(0, level(2 * y + 2, x));
            const int p2 = std::max(0, level(2 * y + 1, x));
            if (p1 + p3 == 0)
                continue;
            if (!(1.0 - 2.0 * p2 / (p1 + p3) > 0.0))
                continue;
            const double ratio = c0 + m * std::min(p2 / 257, 255);
            if (!(ratio >= 0.75 && ratio < 1.0))
                continue;
            const double value = p2 / ratio + bias + 0.5;
            fredptr[(2 * y + 1) * FULL_WIDTH + x] = static_cast<uint16_t>(std::clamp(value, 0.0, 65535.0));
        }
}

void reset_readout()
{
    exposure = 0;
    exp_range = 's';
    exp_value = 1;
    download_time = 3000;
    interlaced_line = 0;
    max_value = 0;
    selfguiding_exposure = 0;
    switched_frame = 0;
}
