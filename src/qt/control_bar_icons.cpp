#include "control_bar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
// The 16-colour palette the button bitmaps use.
const QColor Black(0, 0, 0), Maroon(128, 0, 0), Green(0, 128, 0), Olive(128, 128, 0), Navy(0, 0, 128),
    Purple(128, 0, 128), Teal(0, 128, 128), Grey(128, 128, 128), Silver(192, 192, 192), Red(255, 0, 0),
    Lime(0, 255, 0), Yellow(255, 255, 0), Blue(0, 0, 255), Fuchsia(255, 0, 255), Aqua(0, 255, 255),
    White(255, 255, 255);

void disk(QPainter& p, const QColor& body)
{
    p.setPen(Black);
    p.setBrush(body);
    p.drawRect(4, 4, 23, 23);
    p.setBrush(White);
    p.drawRect(8, 4, 15, 9);           // the label
    p.setBrush(Silver);
    p.drawRect(9, 19, 13, 8);          // the shutter
    p.fillRect(17, 21, 3, 5, Black);
}

void text(QPainter& p, const QRect& r, const QString& s, const QColor& c, int pixels)
{
    QFont f("Sans");
    f.setPixelSize(pixels);
    f.setBold(true);
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, Qt::AlignCenter, s);
}

// A stretch curve in a small framed graph.
void curve(QPainter& p, double (*f)(double), const QColor& c)
{
    p.setPen(Black);
    p.setBrush(White);
    p.drawRect(3, 3, 25, 25);
    p.setPen(Silver);
    p.drawLine(4, 27, 27, 4);
    QPainterPath path;
    for (int i = 0; i <= 24; ++i) {
        const double x = i / 24.0;
        const QPointF pt(4 + i, 27 - 23 * f(x));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    p.setPen(QPen(c, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void palette_strip(QPainter& p, bool colour)
{
    for (int i = 0; i < 24; ++i) {
        const int v = i * 255 / 23;
        const int u = 255 - v;
        const QColor c = colour ? QColor(v, v * v / 256, u - u * u / 256) : QColor(v, v, v);
        p.fillRect(4 + i, 6, 1, 14, c);
    }
    p.setPen(Black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(3, 5, 25, 15);
}

void star(QPainter& p, QPointF c, double r, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, r, r);
}

// A small dark field with a few stars.
void field(QPainter& p, const QRect& r)
{
    p.fillRect(r, Navy);
    star(p, QPointF(r.left() + r.width() * 0.3, r.top() + r.height() * 0.35), 2.0, White);
    star(p, QPointF(r.left() + r.width() * 0.7, r.top() + r.height() * 0.6), 1.5, Yellow);
    star(p, QPointF(r.left() + r.width() * 0.45, r.top() + r.height() * 0.8), 1.0, White);
}

void draw(QPainter& p, int bitmap)
{
    switch (bitmap) {
    case 24333:   // save (raw): a disk
        disk(p, Navy);
        text(p, QRect(8, 4, 16, 10), "QV", Black, 8);
        break;
    case 24336:   // save as FITS: a disk with FITS on its label
        disk(p, Maroon);
        text(p, QRect(8, 4, 16, 10), "FIT", Black, 7);
        break;
    case 24332: { // open: a folder
        p.setPen(Black);
        p.setBrush(Olive);
        p.drawRect(3, 9, 22, 16);
        p.drawRect(3, 7, 8, 3);
        QPolygon flap({QPoint(7, 14), QPoint(29, 14), QPoint(25, 25), QPoint(3, 25)});
        p.setBrush(Yellow);
        p.drawPolygon(flap);
        p.setPen(QPen(Green, 2));
        p.drawLine(18, 3, 24, 3);
        p.drawLine(24, 3, 24, 9);
        p.drawLine(21, 7, 24, 10);
        p.drawLine(27, 7, 24, 10);
        break;
    }
    case 1000:    // camera interface: a CCD camera head with its sensor
        p.setPen(Black);
        p.setBrush(Grey);
        p.drawRect(4, 9, 24, 16);
        p.setBrush(Silver);
        p.drawRect(10, 5, 8, 4);
        p.setBrush(Black);
        p.drawEllipse(QPoint(16, 17), 6, 6);
        p.setBrush(Teal);
        p.drawRect(13, 14, 6, 6);
        p.fillRect(24, 11, 2, 2, Red);
        break;
    case 1002:    // palette multiplier on: the bright palette with a plus
        palette_strip(p, false);
        p.fillRect(8, 22, 16, 6, Silver);
        text(p, QRect(0, 20, 32, 12), "MAX", Red, 9);
        break;
    case 1003:    // palette multiplier off: the plain palette, struck out
        palette_strip(p, false);
        text(p, QRect(0, 20, 32, 12), "MAX", Grey, 9);
        p.setPen(QPen(Red, 2));
        p.drawLine(5, 30, 27, 20);
        break;
    case 121:     // program defaults: a form with check boxes
        p.setPen(Black);
        p.setBrush(White);
        p.drawRect(5, 3, 21, 26);
        for (int row = 0; row < 4; ++row) {
            p.setBrush(White);
            p.drawRect(8, 6 + row * 6, 4, 4);
            p.fillRect(14, 8 + row * 6, 9, 1, Navy);
            if (row % 2 == 0) {
                p.setPen(QPen(Green, 1.5));
                p.drawLine(8, 8 + row * 6, 10, 10 + row * 6);
                p.drawLine(10, 10 + row * 6, 13, 5 + row * 6);
                p.setPen(Black);
            }
        }
        break;
    case 1903:    // photometry: a star inside the measuring square
        field(p, QRect(3, 3, 26, 26));
        p.setPen(QPen(Lime, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(9, 8, 11, 11);
        star(p, QPointF(14.5, 13.5), 3.0, White);
        break;
    case 1:       // normal stretch: a straight steep ramp
        curve(p, [](double x) { return std::clamp((x - 0.25) * 2.0, 0.0, 1.0); }, Blue);
        break;
    case 117:     // non-linear stretch
        curve(p, [](double x) { return std::sqrt(x); }, Purple);
        break;
    case 2:       // power law stretch
        curve(p, [](double x) { return std::pow(x, 0.3); }, Red);
        break;
    case 120: {   // remove background: the sky goes black
        p.fillRect(3, 3, 26, 26, Grey);
        p.fillRect(3, 3, 13, 26, Black);
        star(p, QPointF(9, 10), 2.0, White);
        star(p, QPointF(22, 20), 2.0, White);
        star(p, QPointF(11, 22), 1.2, White);
        p.setPen(Black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(3, 3, 25, 25);
        break;
    }
    case 106:     // unsharp mask: a blurred and a sharp disk of a planet
        p.fillRect(3, 3, 26, 26, Black);
        for (int r = 9; r > 0; --r) {
            const int v = 255 - r * 20;
            star(p, QPointF(10, 16), r, QColor(v, v * 3 / 4, v / 2));
        }
        p.setPen(QPen(White, 1));
        p.setBrush(Olive);
        p.drawEllipse(QPointF(22, 16), 6, 6);
        p.setPen(Maroon);
        p.drawLine(16, 15, 28, 15);
        p.drawLine(17, 18, 27, 18);
        break;
    case 3: {     // median filter: a 3 x 3 grid with its middle cell
        p.setPen(Black);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                p.setBrush((x == 1 && y == 1) ? Red : ((x + y) % 2 ? Silver : White));
                p.drawRect(4 + x * 8, 4 + y * 8, 8, 8);
            }
        break;
    }
    case 110:     // subtract: image minus dark frame
        field(p, QRect(2, 4, 12, 12));
        p.fillRect(18, 16, 12, 12, Black);
        p.fillRect(21, 19, 1, 1, White);
        p.fillRect(26, 24, 1, 1, White);
        text(p, QRect(10, 10, 12, 12), "-", Red, 16);
        break;
    case 115: {   // flat field: an evenly lit frame with a darker rim
        QRadialGradient g(QPointF(16, 16), 16);
        g.setColorAt(0, White);
        g.setColorAt(1, Grey);
        p.setPen(Black);
        p.setBrush(g);
        p.drawRect(3, 3, 25, 25);
        text(p, QRect(3, 3, 26, 26), "F", Navy, 14);
        break;
    }
    case 111:     // merge: two frames combined
        field(p, QRect(3, 3, 16, 16));
        p.setPen(Black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(3, 3, 15, 15);
        field(p, QRect(13, 13, 16, 16));
        p.drawRect(13, 13, 15, 15);
        text(p, QRect(8, 8, 16, 16), "+", Yellow, 14);
        break;
    case 24: {    // telescope control: a refractor on a tripod
        p.setPen(Black);
        p.save();
        p.translate(16, 14);
        p.rotate(-30);
        p.setBrush(White);
        p.drawRect(-13, -3, 24, 6);
        p.setBrush(Navy);
        p.drawRect(11, -4, 3, 8);
        p.restore();
        p.setPen(QPen(Maroon, 2));
        p.drawLine(16, 16, 9, 29);
        p.drawLine(16, 16, 23, 29);
        p.drawLine(16, 16, 16, 29);
        break;
    }
    default:
        text(p, QRect(0, 0, 32, 32), QString::number(bitmap), Black, 9);
        break;
    }
}
}

QPixmap control_bar_picture(int bitmap)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Silver);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    draw(p, bitmap);
    return pixmap;
}
