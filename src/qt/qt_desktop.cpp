#include "qt_desktop.h"

#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

QtDesktop::~QtDesktop()
{
    delete help_.data();
}

void QtDesktop::set_cursor(CursorShape shape)
{
    shape_ = shape;
    Qt::CursorShape qt_shape = Qt::ArrowCursor;
    switch (shape) {
    case CursorShape::Arrow:
        // The arrow is every window's own cursor: drop the override.
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        return;
    case CursorShape::Wait: qt_shape = Qt::WaitCursor; break;
    case CursorShape::Cross: qt_shape = Qt::CrossCursor; break;
    case CursorShape::UpArrow: qt_shape = Qt::UpArrowCursor; break;
    }
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(QCursor(qt_shape));
    else
        QApplication::setOverrideCursor(QCursor(qt_shape));
}

void QtDesktop::beep()
{
    QApplication::beep();
}

ScreenPoint QtDesktop::pointer() const
{
    QPoint p = QCursor::pos();
    if (client_)
        p = client_->mapFromGlobal(p);
    return {p.x(), p.y()};
}

void QtDesktop::move_pointer(ScreenPoint p)
{
    QPoint target(p.x, p.y);
    if (client_)
        target = client_->mapToGlobal(target);
    QCursor::setPos(target);
}

bool QtDesktop::show_help(const std::string& index_file)
{
    const QFileInfo info(QString::fromStdString(index_file));
    if (!info.isFile())
        return false;
    if (!help_) {
        help_ = new QTextBrowser;
        help_->setAttribute(Qt::WA_DeleteOnClose);
        help_->setWindowTitle("Skyvane Help");
        help_->setOpenExternalLinks(true);
        help_->resize(640, 480);
    }
    help_->setSearchPaths({info.absolutePath()});
    help_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    help_->show();
    help_->raise();
    help_->activateWindow();
    return true;
}
