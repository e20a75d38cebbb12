#include "analysis_views.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/core/commands.h"
#include "app/core/messages.h"
#include "app/core/mouse_modes.h"
#include "display/display_frame.h"
#include "display/histogram.h"
#include "display/window_display.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/planes.h"

const uint16_t* externptr = nullptr;
int obj_y = 0;

ModelessWindow<THistDialog> hist_window;
ModelessWindow<T3DDialog> plot3d_window;
ModelessWindow<TRowDialog> TRH;
ModelessWindow<TBLDialog> TBL;

namespace {
constexpr Rgb BLACK{0, 0, 0};
constexpr Rgb WHITE{255, 255, 255};
constexpr Rgb GREY{128, 128, 128};
constexpr Rgb LIGHT_GREY{192, 192, 192};
constexpr Rgb RED{255, 0, 0};
constexpr Rgb BLUE{0, 0, 255};

void help_box(const char* caption, const char* text)
{
    services().boxes->show(caption, text);
}

// Text lines of a block drawn top-left aligned from (X, Y).
void draw_text_block(Painter& painter, int x, int y, const std::string& text)
{
    constexpr int line_height = 14;
    size_t start = 0;
    for (int row = 0; start < text.size(); ++row) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        painter.text(x, y + row * line_height, text.substr(start, end - start));
        start = end + 1;
    }
}

// A line on an 8-bit bitmap, both end points included, clipped to the bitmap.
void bitmap_line(Bitmap8& bmp, int x1, int y1, int x2, int y2, uint8_t colour)
{
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (x1 >= 0 && x1 < bmp.width && y1 >= 0 && y1 < bmp.height)
            bmp.pixels[static_cast<size_t>(y1) * bmp.width + x1] = colour;
        if (x1 == x2 && y1 == y2)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x1 += sx; }
        if (e2 <= dx) { err += dx; y1 += sy; }
    }
}
}

// ---- Histogram ----

THistDialog::THistDialog()
    : Dialog(RESOURCE, "Histogram of Current Image", 360, 316, {
          {-1, ControlKind::PaintArea, "", 0, 0, 360, 272},
          {ID_CLOSE, ControlKind::DefaultButton, "Close", 90, 280, 80, 26},
          {ID_HELP, ControlKind::Button, "Help", 190, 280, 80, 26},
      })
{
    on_click(ID_CLOSE, [this] { HistKill(); });
    on_click(ID_HELP, [this] { Dialog1Help(); });
}

std::string histogram_listing()
{
    std::string list = "val   count\n";
    int listed = 0;
    for (int i = 0; i < 256 && listed < 15; ++i) {
        const uint32_t h = table[i] / 5;
        if (h > 210) {
            char line[32];
            std::snprintf(line, sizeof line, "%03d  %6ld\n", i, static_cast<long>(h) * 5);
            list += line;
            ++listed;
        }
    }
    return list.substr(0, 599);
}

void THistDialog::HistDraw(Painter& painter)
{
    painter.set_pen(BLUE);
    painter.line(5, 5, 5, 213);
    painter.line(5, 213, 263, 213);
    for (int x = 40; x <= 264; x += 32) {
        const int bottom = x == 136 ? 224 : (x == 72 || x == 200) ? 220 : 217;
        painter.line(x, 213, x, bottom);
    }
    for (int i = 0; i < 256; ++i) {
        const uint32_t h = table[i] / 5;
        if (h > 210) {
            painter.set_pen(RED);
            painter.line(i + 8, 210, i + 8, 0);
        } else {
            painter.set_pen(GREY);
            painter.line(i + 8, 210, i + 8, 210 - static_cast<int>(h));
        }
    }
    draw_text_block(painter, 270, 2, histogram_listing());
}

void THistDialog::Paint(Painter& painter)
{
    HistDraw(painter);
}

void THistDialog::Dialog1Help()
{
    help_box("Lumra_5 - Display Histogram",
             "This shows a histogram of the values in the current main window. The horizontal scale represents "
             "values from black (0) to white (256), whilst the vertical scale shows the number of pixels with a "
             "particular value. The vertical scale goes from 0 to 1000, where there are more than 1000 pixels with "
             "the same value the line is truncated and shown in red.\n\nThe first 15 values where the pixel count "
             "exceeds 1000 are also listed next to the Histogram\n\nShort key - CTL+H");
}

void THistDialog::HistKill()
{
    CloseWindow(ID_CLOSE);
}

void THistDialog::Destroyed()
{
    hist_already = 0;
    hist_window.release();
}

void CmHistogram()
{
    if (hist_already == 1)
        return;
    hist_window.open();
    hist_already = 1;
}

// ---- 3-D plot ----

T3DDialog::T3DDialog()
    : Dialog(RESOURCE, "3-D Intensity Plot", 644, 430, {
          {-1, ControlKind::PaintArea, "", 0, 0, 644, 384},
          {IDCANCEL, ControlKind::DefaultButton, "Finished", 200, 394, 100, 26},
          {9, ControlKind::Button, "Help", 344, 394, 100, 26},
      })
{
    on_click(IDCANCEL, [this] { IntKill(); });
    on_click(9, [this] { Dialog11Help(); });
}

void T3DDialog::SetupWindow()
{
    T3Dwidth = 644;
    T3Dheight = 384;
    fst = 1;
}

void draw_3d_plot(const uint16_t* plane, Bitmap8& bmp, const std::function<void()>& after_trace)
{
    bmp.width = 644;
    bmp.height = 384;
    bmp.pixels.assign(static_cast<size_t>(bmp.width) * bmp.height, PLOT_WHITE);
    bmp.palette.fill(WHITE);
    bmp.palette[PLOT_LIGHT] = LIGHT_GREY;
    bmp.palette[PLOT_GREY] = GREY;
    int previous = 0;
    for (int r = 6; r <= 127; ++r) {
        const int x0 = 136 - r;
        const int base = 186 + r;
        int px = x0, py = base;
        for (int i = 0; i < 376; ++i) {
            const int h = plane[r * 752 + i] / 384;
            const int x = x0 + i, y = base - h;
            bitmap_line(bmp, px, py, x, y, h > previous ? PLOT_LIGHT : PLOT_GREY);
            px = x;
            py = y;
            previous = h;
        }
        if (after_trace)
            after_trace();
    }
}

void T3DDialog::Paint(Painter& painter)
{
    if (fst == 1) {
        draw_3d_plot(externptr ? externptr : image.fred3, T3Dbitmap, [&] { painter.draw_bitmap(T3Dbitmap, 0, 0); });
        fst = 0;
        return;
    }
    painter.draw_bitmap(T3Dbitmap, 0, 0);
}

void T3DDialog::Dialog11Help()
{
    help_box("Skyvane - 3-D Plot", "This shows a 3-D Intensity Plot of the values in the current main window.");
}

void T3DDialog::IntKill()
{
    CloseWindow(IDCANCEL);
}

void T3DDialog::Destroyed()
{
    intensity_plot = 0;
    T3Dbitmap = Bitmap8{};
    plot3d_window.release();
}

void Cm3D()
{
    if (intensity_plot == 1 || row_plot == 1)
        return;
    externptr = image.fred3;
    plot3d_window.open();
    intensity_plot = 1;
}

// ---- Row profile ----

TRowDialog::TRowDialog()
    : Dialog(RESOURCE, "INTENSITY PROFILE OF ONE ROW", width1 + 160, 250, {
          {-1, ControlKind::PaintArea, "", 0, 0, width1 + 160, 204},
          {-1, ControlKind::Static, "Row", 10, 214, 30, 18},
          {ID_ROW, ControlKind::Edit, "", 44, 212, 60, 22},
          {IDCANCEL, ControlKind::DefaultButton, "Finished", 140, 210, 90, 26},
          {9, ControlKind::Button, "Help", 250, 210, 90, 26},
      })
{
    on_click(IDCANCEL, [this] { RowKill(); });
    on_click(9, [this] { Dialog12Help(); });
}

void TRowDialog::SetupWindow()
{
    SetText(ID_ROW, std::to_string(obj_y));
}

std::vector<std::pair<int, int>> row_profile_points()
{
    std::vector<std::pair<int, int>> points;
    points.reserve(width1 + 1);
    points.emplace_back(4, 198);
    const uint16_t* plane = externptr ? externptr : image.fred3;
    const int row = std::clamp(obj_y, 0, height2);
    for (int x = 0; x < width1; ++x)
        points.emplace_back(x + 5, 198 - plane[row * width1 + x] / 384);
    return points;
}

void TRowDialog::IntDraw()
{
    SetText(ID_ROW, std::to_string(obj_y));
    Invalidate();
}

void TRowDialog::Paint(Painter& painter)
{
    SetText(ID_ROW, std::to_string(obj_y));
    const Rect frame{2, 2, width1 + 150, 200};
    painter.fill_rect(frame, WHITE);
    painter.set_pen(BLACK);
    painter.rectangle(frame);
    painter.set_pen(GREY);
    const auto points = row_profile_points();
    for (size_t i = 1; i < points.size(); ++i)
        painter.line(points[i - 1].first, points[i - 1].second, points[i].first, points[i].second);
}

void TRowDialog::RowKill()
{
    CloseWindow(IDCANCEL);
}

void TRowDialog::Destroyed()
{
    row_plot = 0;
    services().desktop->set_cursor(CursorShape::Arrow);
    TRH.release();
}

void TRowDialog::Dialog12Help()
{
    help_box("Skyvane - Intensity Profile",
             "Select the row you wish to see an intensity plot of by pressing the left mouse button");
}

void CmRowInt()
{
    if (merging || photometry) {
        messages(37);
        return;
    }
    if (intensity_plot == 1 || row_plot == 1)
        return;
    if (Geo || Big || Fit) {
        messages(48);
        return;
    }
    services().desktop->set_cursor(CursorShape::UpArrow);
    obj_y = 127;
    row_plot = 1;
    externptr = image.fred3;
    TRH.open();
}

void row_plot_click(int y)
{
    obj_y = y;
    if (TRH)
        TRH->IntDraw();
}

// ---- Blink comparison ----

TBLDialog::TBLDialog()
    : Dialog(RESOURCE, "Blink Comparison", 260, 70, {
          {ID_SWITCH, ControlKind::Button, "Comparison", 20, 20, 110, 26},
          {ID_FINISHED, ControlKind::DefaultButton, "Finished", 150, 20, 90, 26},
      })
{
    on_click(ID_SWITCH, [this] { Blink_Comparison(); });
    on_click(ID_FINISHED, [this] { BlinkKill(); });
}

void TBLDialog::SetupWindow()
{
    SetText(ID_SWITCH, "Comparison");
    SetCaption("Blinking:- Current Image");
    blink_original = 1;
}

void TBLDialog::Blink_Comparison()
{
    if (blink_original == 1) {
        SetText(ID_SWITCH, "Current Image");
        send_command(926);
        SetCaption("Blinking:- Comparison");
    } else {
        SetText(ID_SWITCH, "Comparison");
        send_command(925);
        SetCaption("Blinking:- Current Image");
    }
    blink_original = blink_original ? 0 : 1;
}

void TBLDialog::BlinkKill()
{
    CloseWindow(ID_FINISHED);
}

void TBLDialog::Destroyed()
{
    blinking = 0;
    TBL.release();
}

void blink_comparison()
{
    if (blinking)
        return;
    TBL.open();
    blinking = 1;
}

void BlinkOriginal()
{
    image_prepare();
}

void BlinkComparison()
{
    blink_it = 1;
    setup_image(comparison.fred2 + 1, pixels_c, focus_mode, Geo);
    image_prepare();
    blink_it = 0;
}

// ---- Processing history ----

std::string history_text()
{
    std::string text = process_info[0] + " \n";
    for (int i = 1; i < HISTORY_USED && process_info[i].size() > 1; ++i)
        text += process_info[i] + " \n";
    if (text.size() > 499)
        text.resize(499);
    return text;
}

void Info()
{
    messages(50, history_text());
}

void reset_analysis_views()
{
    hist_window.forget();
    plot3d_window.forget();
    TRH.forget();
    TBL.forget();
    forget_all_windows();
    externptr = nullptr;
    obj_y = 0;
}

void register_analysis_views()
{
    register_command(6, CmHistogram, CommandKind::Free);
    register_command(15, Cm3D, CommandKind::Free);
    register_command(16, CmRowInt, CommandKind::Free);
    register_command(125, blink_comparison, CommandKind::Free);
    register_command(925, BlinkOriginal, CommandKind::Free);
    register_command(926, BlinkComparison, CommandKind::Free);
    register_command(17, Info, CommandKind::Free);
    mouse_modes.row_plot_click = row_plot_click;
}
