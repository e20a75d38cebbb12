#include "qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QVector>

#include <cstring>

bool QtClipboard::put_bitmap(const Bitmap8& bitmap)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || bitmap.width <= 0 || bitmap.height <= 0)
        return false;
    QImage image(bitmap.width, bitmap.height, QImage::Format_Indexed8);
    if (image.isNull())
        return false;
    QVector<QRgb> colours(256);
    for (int i = 0; i < 256; ++i) {
        const Rgb& c = bitmap.palette[static_cast<size_t>(i)];
        colours[i] = qRgb(c.r, c.g, c.b);
    }
    image.setColorTable(colours);
    // Scan lines of a QImage are padded to 4 bytes: copy row by row.
    for (int y = 0; y < bitmap.height; ++y)
        std::memcpy(image.scanLine(y), bitmap.pixels.data() + static_cast<size_t>(y) * bitmap.width,
                    static_cast<size_t>(bitmap.width));
    clipboard->clear();
    clipboard->setImage(image);
    return true;
}
