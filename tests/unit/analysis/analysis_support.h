// Helpers of the analysis tests: plane fills and a painter that records what it draws.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/painter.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"

inline void fill_plane(uint16_t* plane, uint16_t value)
{
    std::fill(plane, plane + PLANE_SAMPLES, value);
}

inline uint16_t& at(uint16_t* plane, int x, int y) { return plane[y * width1 + x]; }

inline void use_full_frame()
{
    binned = 0;
    binned21 = 1;
    QV_binned();
}

struct DrawnLine {
    Rgb pen;
    int x1, y1, x2, y2;
};

class RecordingPainter : public Painter {
public:
    void set_pen(Rgb colour, int) override { pen = colour; }
    void line(int x1, int y1, int x2, int y2) override { lines.push_back({pen, x1, y1, x2, y2}); }
    void rectangle(const Rect& r) override { outlines.push_back({pen, r}); }
    void fill_rect(const Rect& r, Rgb colour) override { fills.push_back({colour, r}); }
    void set_pixel(int, int, Rgb) override {}
    void text(int x, int y, const std::string& s, Rgb) override { texts.push_back({x, y, s}); }
    void draw_bitmap(const Bitmap8&, int, int) override { ++bitmaps; }
    void stretch_bitmap(const Bitmap8&, const Rect&) override {}

    struct Filled { Rgb colour; Rect rect; };
    struct Text { int x, y; std::string s; };
    Rgb pen;
    std::vector<DrawnLine> lines;
    std::vector<Filled> outlines;
    std::vector<Filled> fills;
    std::vector<Text> texts;
    int bitmaps = 0;
};
