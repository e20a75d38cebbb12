// Drawing on a window or dialog: pens, lines, rectangles, text and 8-bit palette bitmaps.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// An 8-bit palette image, rows from the top.
struct Bitmap8 {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    std::array<Rgb, 256> palette{};
    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

class Painter {
public:
    virtual ~Painter() = default;
    virtual void set_pen(Rgb colour, int width = 1) = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    virtual void rectangle(const Rect& r) = 0;          // outline with the pen
    virtual void fill_rect(const Rect& r, Rgb colour) = 0;
    virtual void set_pixel(int x, int y, Rgb colour) = 0;
    virtual void text(int x, int y, const std::string& s, Rgb colour = {}) = 0;
    virtual void draw_bitmap(const Bitmap8& bmp, int x, int y) = 0;
    virtual void stretch_bitmap(const Bitmap8& bmp, const Rect& target) = 0;
};
