#include "window_display.h"

#include <algorithm>

#include "app/core/caption.h"
#include "app/core/messages.h"
#include "bmp_file.h"
#include "display_frame.h"
#include "histogram.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/main_frame.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "store/flags.h"
#include "store/planes.h"

std::optional<Bitmap8> Dib;
int PixelWidth = 0, PixelHeight = 0;
int Fit = 0;

void reset_window_display()
{
    Dib.reset();
    PixelWidth = PixelHeight = 0;
    Fit = 0;
}

void write_bitmap()
{
    if (stretch_palette)
        find_most_pop(image.fred3);
    switch (write_bmp(pixels_c, pixels_bmp, focus_mode, Geo)) {
    case 1: messages(8); break;
    case 2: messages(9); break;
    case 3: messages(10); break;
    default: break;
    }
}

void AdjustScroller()
{
    MainFrame* frame = services().frame;
    if (!frame)
        return;
    if (Fit) {
        frame->set_scroll_range(0, 0);
    } else {
        const ClientSize client = frame->client_size();
        frame->set_scroll_range(std::max(0, PixelWidth - client.width), std::max(0, PixelHeight - client.height));
    }
    frame->scroll_to(0, 0);
    frame->invalidate();
}

void LoadBitmapFile(const std::string& name)
{
    const auto bytes = services().files->read(services().paths->native(name));
    std::optional<Bitmap8> bmp;
    if (bytes)
        bmp = read_bmp(*bytes);
    if (!bmp) {
        messages(32);
        return;
    }
    Dib = std::move(bmp);
    PixelWidth = Dib->width;
    PixelHeight = Dib->height;
    if (services().frame)
        services().frame->invalidate();
    AdjustScroller();
}

void image_prepare()
{
    if (!blink_it)
        DisplayImage();
    SetCaption(image_name);
    write_bitmap();
    LoadBitmapFile(training ? FOCUS_BMP : DISPLAY_BMP);
}

void PaintIt()
{
    if (services().frame)
        services().frame->invalidate();
    AdjustScroller();
}

namespace {
Rgb background() { return {static_cast<uint8_t>(back_r), static_cast<uint8_t>(back_g), static_cast<uint8_t>(back_b)}; }

void paint_bitmap(Painter& painter, const ClientSize& client, int sx, int sy, bool minimized)
{
    if (!Dib) {
        painter.fill_rect({0, 0, client.width, client.height}, background());
        return;
    }
    if (minimized || Fit) {
        painter.stretch_bitmap(*Dib, {0, 0, client.width, client.height});
        return;
    }
    painter.draw_bitmap(*Dib, -sx, -sy);
    const int right = Dib->width - sx;
    const int bottom = Dib->height - sy;
    if (right < client.width)
        painter.fill_rect({right, 0, client.width, client.height}, background());
    if (bottom < client.height)
        painter.fill_rect({0, bottom, std::min(right, client.width), client.height}, background());
}

void paint_pick_cross(Painter& painter)
{
    int cx = pick_xcent, cy = pick_ycent;
    if (binned) {
        cx /= 2;
        cy /= 2;
    }
    painter.set_pen({0, 255, 0}, 1);
    painter.line(cx, cy - 20, cx, cy + 20);
    painter.line(cx - 20, cy, cx + 20, cy);
    centre_it = 1;
    cur_rad = star_mask;
}
}

void Paint(Painter& painter)
{
    MainFrame* frame = services().frame;
    if (prep_image) {
        prep_image = 0;
        image_prepare();
    }
    back_changed = 0;
    const ClientSize client = frame ? frame->client_size() : ClientSize{};
    paint_bitmap(painter, client, frame ? frame->scroll_x() : 0, frame ? frame->scroll_y() : 0,
                 frame && frame->is_minimized());
    if (!photometry && !pick_star)
        services().desktop->set_cursor(CursorShape::Arrow);
    if (picked_star == 1 && pick_star == 1)
        paint_pick_cross(painter);
    build_histogram(image.fred3);
}
