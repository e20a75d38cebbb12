// A painter that draws nowhere: the headless backend still runs every paint routine, since
// paints also update program state.
#pragma once
#include "platform/painter.h"

class NullPainter : public Painter {
public:
    void set_pen(Rgb, int) override {}
    void line(int, int, int, int) override {}
    void rectangle(const Rect&) override {}
    void fill_rect(const Rect&, Rgb) override {}
    void set_pixel(int, int, Rgb) override {}
    void text(int, int, const std::string&, Rgb) override {}
    void draw_bitmap(const Bitmap8&, int, int) override {}
    void stretch_bitmap(const Bitmap8&, const Rect&) override {}
};
