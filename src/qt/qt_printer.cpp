#include "qt_printer.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include "platform/file_system.h"
#include "platform/services.h"

namespace {
// The image centred on the page, as large as it fits without changing its proportions.
void draw_fitted(QPainter& painter, const QRect& page, const QImage& image)
{
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    const QRect target(page.x() + (page.width() - size.width()) / 2, page.y() + (page.height() - size.height()) / 2,
                       size.width(), size.height());
    painter.drawImage(target, image);
}
}

QtPrinter::QtPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

QtPrinter::~QtPrinter() = default;

void QtPrinter::setup()
{
    if (!print_to_file().empty())
        return;   // printing goes into a file: there is no printer to set up
    QPrintDialog dialog(printer_.get());
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.exec();
}

bool QtPrinter::print_bitmap_file(const std::string& native_path)
{
    const auto bytes = services().files->read(native_path);
    if (!bytes)
        return false;
    QImage image;
    if (!image.loadFromData(bytes->data(), static_cast<int>(bytes->size()), "BMP"))
        return false;
    // Return at once, as the command always did; the page is drawn when the event loop runs next.
    QTimer::singleShot(0, QCoreApplication::instance(), [this, image] { print_page(image); });
    return true;
}

void QtPrinter::print_page(const QImage& image)
{
    const std::string pdf_path = print_to_file();
    if (!pdf_path.empty()) {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(72);
            writer.setPageSize(QPageSize(QSizeF(image.width(), image.height()), QPageSize::Point));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter(&writer);
            draw_fitted(painter, QRect(0, 0, writer.width(), writer.height()), image);
        }
        buffer.close();
        services().files->write_all(pdf_path, pdf.constData(), static_cast<size_t>(pdf.size()));
        return;
    }
    QPainter painter;
    if (!painter.begin(printer_.get()))
        return;   // no printer: printing failures are not reported
    draw_fitted(painter, painter.viewport(), image);
    painter.end();
}
