#include "main_window.h"

#include <cstdio>

#include "app/core/messages.h"
#include "display/window_display.h"
#include "app/core/mouse_modes.h"
#include "platform/desktop.h"
#include "platform/main_frame.h"
#include "platform/services.h"
#include "store/flags.h"
#include "store/geometry.h"


namespace {
std::string position_text(const char* prefix, int x, int y)
{
    char text[160];
    std::snprintf(text, sizeof text, "%sx position = %5d\ny position = %5d", prefix, x, y);
    return text;
}

// Homes the point onto the star three times; false when a search finds nothing.
bool home_on_star(int& x, int& y, int r)
{
    for (int pass = 0; pass < 3; ++pass) {
        if (x < width1 - r && y < height1 - r) {
            if (!mouse_modes.find_centre || !mouse_modes.find_centre(x, y, r)) {
                picked_star = 0;
                return false;
            }
            picked_star = 1;
            const ScreenPoint p = services().desktop->pointer();
            services().desktop->move_pointer({p.x + xcent - x, p.y + ycent - y});
            x = xcent;
            y = ycent;
        }
    }
    return true;
}

void place_focus_frame(int x, int y)
{
    const int k = binned ? 2 : 1;
    const int X = k * x;
    const int Y = (k * y) / 2;
    focus_x = X < 67 ? 3 : X > 686 ? 622 : X - 64;
    focus_y = Y < 65 ? 1 : Y > 226 ? 162 : Y - 64;
    focus_frame = 0;
    messages(50, position_text("", focus_x + 64, (focus_y + 64) * 2));
}

void finish_pick()
{
    if (binned) {
        pick_small = 1;
        pick_star_small = 1;
        xcent *= 2;
        ycent *= 2;
    } else {
        pick_small = 0;
        pick_star_small = 0;
    }
    pick_xcent = xcent;
    pick_ycent = ycent;
    focus_frame = 0;
    messages(50, position_text("", xcent, ycent));
    PaintIt();
}
}

void main_window_paint(Painter& painter)
{
    Paint(painter);
}

void EvLButtonUp(int x, int y)
{
    if (!photometry && !row_plot && !merging && !pick_star && !focus_frame)
        return;
    // The point is the image pixel under the pointer, wherever the view is scrolled.
    if (MainFrame* frame = services().frame) {
        x += frame->scroll_x();
        y += frame->scroll_y();
    }
    const int xmax = Big ? 563 : width2;
    const int ymax = Big ? 434 : height2;
    const int m = pick_star ? 3 : 0;
    const int r = cur_rad;
    const bool inside = r + m <= x && x <= xmax - r - m && r + m <= y && y <= ymax - r - m;
    if (!inside && !focus_frame) {
        messages(50, position_text("Sorry, outside Image area - try again\n\n", x, y));
        return;
    }
    if (Big) {
        y = (2 * y) / 3;
        x = (2 * x) / 3;
    }
    if (row_plot) {
        if (mouse_modes.row_plot_click)
            mouse_modes.row_plot_click(y);
        return;
    }
    if (merging && !photometry && !pick_star && !focus_frame) {
        if (mouse_modes.merge_click)
            mouse_modes.merge_click(x, y);
        return;
    }
    if (centre_it && !home_on_star(x, y, r))
        return;
    if (focus_frame) {
        place_focus_frame(x, y);
        return;
    }
    centre_it = 0;
    if (pick_star) {
        finish_pick();
        return;
    }
    if (photometry && mouse_modes.photometry_click)
        mouse_modes.photometry_click(x, y);
}

void EvRButtonUp(int x, int y)
{
    if (!photometry)
        return;
    centre_it = 1;
    EvLButtonUp(x, y);
}

void EvMouseMove(int x, int y)
{
    if (!photometry)
        return;
    if (1 < x && x < width2 && 1 < y && y < height2 && mouse_modes.photometry_move)
        mouse_modes.photometry_move(x, y);
}

void EvSize()
{
    AdjustScroller();
    if (services().frame)
        services().frame->invalidate();
}
