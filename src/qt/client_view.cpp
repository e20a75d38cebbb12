#include "client_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/main_window.h"
#include "qt_painter.h"

ClientView::ClientView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName("client");
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    // The logic paints every pixel of the client area (the bitmap and the background brush).
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    // Scrolling in units of one pixel, with the scroller's start-up range of 200 x 200.
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    set_scroll_range(200, 200);
}

void ClientView::update_pages()
{
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
    verticalScrollBar()->setPageStep(std::max(1, viewport()->height()));
}

void ClientView::set_scroll_range(int x_range, int y_range)
{
    horizontalScrollBar()->setRange(0, std::max(0, x_range));
    verticalScrollBar()->setRange(0, std::max(0, y_range));
    update_pages();
}

void ClientView::scroll_to(int x, int y)
{
    horizontalScrollBar()->setValue(x);
    verticalScrollBar()->setValue(y);
}

int ClientView::scroll_x() const { return horizontalScrollBar()->value(); }
int ClientView::scroll_y() const { return verticalScrollBar()->value(); }

void ClientView::repaint_now()
{
    viewport()->repaint();
}

void ClientView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    QtPainter adapter(painter);
    main_window_paint(adapter);
}

void ClientView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        EvLButtonUp(p.x(), p.y());
    else if (event->button() == Qt::RightButton)
        EvRButtonUp(p.x(), p.y());
}

void ClientView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    EvMouseMove(p.x(), p.y());
}

void ClientView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    update_pages();
    if (!window()->isMinimized())
        EvSize();
    viewport()->update();
}

void ClientView::scrollContentsBy(int, int)
{
    viewport()->update();
}
