#include "headless_services.h"

#include <algorithm>
#include <sys/stat.h>

#include "app/main_window.h"
#include "null_painter.h"
#include "script.h"

bool HeadlessDesktop::show_help(const std::string& index_file)
{
    struct stat st {};
    return ::stat(index_file.c_str(), &st) == 0;
}

void HeadlessFrame::set_caption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    session_.print("caption " + quote(caption));
}

void HeadlessFrame::repaint_now()
{
    dirty_ = false;
    NullPainter painter;
    main_window_paint(painter);
}

void HeadlessFrame::set_scroll_range(int x_range, int y_range)
{
    x_range_ = std::max(0, x_range);
    y_range_ = std::max(0, y_range);
    scroll_to(scroll_x_, scroll_y_);
}

void HeadlessFrame::scroll_to(int x, int y)
{
    scroll_x_ = std::clamp(x, 0, x_range_);
    scroll_y_ = std::clamp(y, 0, y_range_);
}
