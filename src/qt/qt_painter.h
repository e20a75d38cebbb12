// The program's painter on a QPainter. Rectangles exclude their right and bottom edges; text is
// placed by the top-left corner of its first character cell; bitmaps are drawn as 8-bit indexed
// images with their 256-colour table, stretched without smoothing.
#pragma once
#include <QImage>

#include "platform/painter.h"

class QPainter;

// BMP as an Indexed8 image (rows from the top, the palette as colour table).
QImage to_qimage(const Bitmap8& bmp);

class QtPainter : public Painter {
public:
    explicit QtPainter(QPainter& painter);
    void set_pen(Rgb colour, int width) override;
    void line(int x1, int y1, int x2, int y2) override;
    void rectangle(const Rect& r) override;
    void fill_rect(const Rect& r, Rgb colour) override;
    void set_pixel(int x, int y, Rgb colour) override;
    void text(int x, int y, const std::string& s, Rgb colour) override;
    void draw_bitmap(const Bitmap8& bmp, int x, int y) override;
    void stretch_bitmap(const Bitmap8& bmp, const Rect& target) override;

private:
    QPainter& p_;
};
