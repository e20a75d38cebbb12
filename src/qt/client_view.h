// The main window's client area: a scrolling view whose drawing, mouse releases, pointer moves
// and size changes go to the main window's logic. The logic draws the bitmap at minus the scroll
// position itself, so scrolling only repaints.
#pragma once
#include <QAbstractScrollArea>

class ClientView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ClientView(QWidget* parent = nullptr);
    void set_scroll_range(int x_range, int y_range);
    void scroll_to(int x, int y);
    int scroll_x() const;
    int scroll_y() const;
    // Repaints at once, before returning.
    void repaint_now();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void update_pages();
};
