#include "qt_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <cstring>

namespace {
QColor colour(Rgb c) { return QColor(c.r, c.g, c.b); }
}

QImage to_qimage(const Bitmap8& bmp)
{
    if (bmp.width <= 0 || bmp.height <= 0 || bmp.pixels.size() < static_cast<size_t>(bmp.width) * bmp.height)
        return {};
    QImage image(bmp.width, bmp.height, QImage::Format_Indexed8);
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = qRgb(bmp.palette[i].r, bmp.palette[i].g, bmp.palette[i].b);
    image.setColorTable(table);
    for (int y = 0; y < bmp.height; ++y)
        std::memcpy(image.scanLine(y), bmp.pixels.data() + static_cast<size_t>(y) * bmp.width, bmp.width);
    return image;
}

QtPainter::QtPainter(QPainter& painter) : p_(painter)
{
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p_.setBrush(Qt::NoBrush);
    p_.setPen(QPen(Qt::black, 1));
}

void QtPainter::set_pen(Rgb c, int width)
{
    QPen pen(colour(c));
    pen.setWidth(width < 1 ? 1 : width);
    p_.setPen(pen);
}

void QtPainter::line(int x1, int y1, int x2, int y2)
{
    p_.drawLine(x1, y1, x2, y2);
}

void QtPainter::rectangle(const Rect& r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
}

void QtPainter::fill_rect(const Rect& r, Rgb c)
{
    if (r.width() > 0 && r.height() > 0)
        p_.fillRect(QRect(r.left, r.top, r.width(), r.height()), colour(c));
}

void QtPainter::set_pixel(int x, int y, Rgb c)
{
    p_.fillRect(QRect(x, y, 1, 1), colour(c));
}

void QtPainter::text(int x, int y, const std::string& s, Rgb c)
{
    const QPen saved = p_.pen();
    p_.setPen(colour(c));
    const QFontMetrics metrics(p_.font());
    p_.drawText(QPoint(x, y + metrics.ascent()), QString::fromStdString(s));
    p_.setPen(saved);
}

void QtPainter::draw_bitmap(const Bitmap8& bmp, int x, int y)
{
    const QImage image = to_qimage(bmp);
    if (!image.isNull())
        p_.drawImage(QPoint(x, y), image);
}

void QtPainter::stretch_bitmap(const Bitmap8& bmp, const Rect& target)
{
    const QImage image = to_qimage(bmp);
    if (!image.isNull() && target.width() > 0 && target.height() > 0)
        p_.drawImage(QRect(target.left, target.top, target.width(), target.height()), image);
}
