// The Normal Stretch dialog's drawing: axes, ticks, the bins of `table` and the level markers,
// in the coordinates and colours the window shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

#include "display/histogram.h"
#include "processing/stretch.h"
#include "processing/stretch_dialogs.h"

namespace {
struct Line {
    Rgb pen;
    int x1, y1, x2, y2;
    bool operator==(const Line& o) const
    {
        return pen == o.pen && std::tie(x1, y1, x2, y2) == std::tie(o.x1, o.y1, o.x2, o.y2);
    }
};

class RecordingPainter : public Painter {
public:
    void set_pen(Rgb colour, int) override { pen = colour; }
    void line(int x1, int y1, int x2, int y2) override { lines.push_back({pen, x1, y1, x2, y2}); }
    void rectangle(const Rect& r) override { outlines.push_back({pen, r.left, r.top, r.right, r.bottom}); }
    void fill_rect(const Rect& r, Rgb c) override { fills.push_back({c, r.left, r.top, r.right, r.bottom}); }
    void set_pixel(int, int, Rgb) override {}
    void text(int, int, const std::string&, Rgb) override {}
    void draw_bitmap(const Bitmap8&, int, int) override {}
    void stretch_bitmap(const Bitmap8&, const Rect&) override {}

    bool has(const Line& l) const { return std::find(lines.begin(), lines.end(), l) != lines.end(); }

    Rgb pen;
    std::vector<Line> lines, outlines, fills;
};

constexpr Rgb BLUE{0, 0, 255}, GREY{128, 128, 128}, RED{255, 0, 0}, BLACK{0, 0, 0}, WHITE{255, 255, 255};
}

TEST(StretchDialogPaint, AxesBinsAndMarkers)
{
    std::memset(table, 0, sizeof table);
    table[0] = 500;      // h = 100
    table[7] = 1054;     // h = 210, still grey
    table[9] = 1055;     // h = 211: red, cut at 210
    table[255] = 4;      // h = 0
    black = 20;
    white = 280;         // the marker stops at 255
    TStretchDialog dialog;
    RecordingPainter p;
    dialog.Paint(p);

    EXPECT_TRUE(p.has({BLUE, 5, 5, 5, 213}));
    EXPECT_TRUE(p.has({BLUE, 5, 213, 263, 213}));
    for (int x = 40; x <= 264; x += 32) {
        const int end = x == 136 ? 220 : (x == 72 || x == 200) ? 218 : 215;
        EXPECT_TRUE(p.has({BLUE, x, 213, x, end})) << x;
    }
    EXPECT_TRUE(p.has({GREY, 8, 210, 8, 110}));
    EXPECT_TRUE(p.has({GREY, 15, 210, 15, 0}));
    EXPECT_TRUE(p.has({RED, 17, 210, 17, 0}));
    EXPECT_TRUE(p.has({GREY, 263, 210, 263, 210}));
    EXPECT_EQ(std::count_if(p.lines.begin(), p.lines.end(), [](const Line& l) { return l.y1 == 210 && l.x1 == l.x2; }),
              256);

    ASSERT_EQ(p.fills.size(), 1u);
    EXPECT_EQ(p.fills[0], (Line{WHITE, 4, 219, 268, 232}));
    ASSERT_EQ(p.outlines.size(), 1u);
    EXPECT_EQ(p.outlines[0], (Line{BLACK, 4, 219, 268, 232}));
    for (int x : {28, 263}) {
        EXPECT_TRUE(p.has({BLACK, x, 230, x, 220})) << x;
        EXPECT_TRUE(p.has({BLACK, x - 3, 224, x, 221})) << x;
        EXPECT_TRUE(p.has({BLACK, x, 221, x + 3, 224})) << x;
    }
    EXPECT_EQ(dialog.GetText(TStretchDialog::EDIT_BLACK), "20");
    EXPECT_EQ(dialog.GetText(TStretchDialog::EDIT_WHITE), "280");
}
