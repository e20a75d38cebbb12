// The analysis views of the current image: histogram, 3-D intensity plot, row profile, blink
// comparison and the processing history.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "modeless_window.h"
#include "platform/dialog.h"

extern const uint16_t* externptr;   // the plane the 3-D plot and the row profile read
extern int obj_y;                   // the row of the row profile (shared with photometry)

// Histogram window (dialog 5).
class THistDialog : public Dialog {
public:
    static constexpr int RESOURCE = 5;
    static constexpr int ID_CLOSE = 101;
    static constexpr int ID_HELP = 9;
    THistDialog();
    void Paint(Painter& painter) override;
    void Destroyed() override;
    void HistDraw(Painter& painter);
private:
    void Dialog1Help();
    void HistKill();
};

// The list beside the histogram: the first 15 bins whose bar is cut at 210 pixels.
std::string histogram_listing();

// 3-D intensity plot (dialog 11): drawn once into an off-screen bitmap, then copied.
class T3DDialog : public Dialog {
public:
    static constexpr int RESOURCE = 11;
    T3DDialog();
    void SetupWindow() override;
    void Paint(Painter& painter) override;
    void Destroyed() override;
    const Bitmap8* plot() const { return T3Dbitmap.pixels.empty() ? nullptr : &T3Dbitmap; }
private:
    void Dialog11Help();
    void IntKill();
    int fst = 1;
    int T3Dwidth = 644, T3Dheight = 384;
    Bitmap8 T3Dbitmap;
};

// Draws the 122 traces of the 3-D plot of PLANE into BMP (644 x 384, white, light grey, grey);
// AFTER_TRACE runs after each trace.
void draw_3d_plot(const uint16_t* plane, Bitmap8& bmp, const std::function<void()>& after_trace = {});
constexpr uint8_t PLOT_WHITE = 0, PLOT_LIGHT = 1, PLOT_GREY = 2;

// Row profile (dialog 12) and its click mode.
class TRowDialog : public Dialog {
public:
    static constexpr int RESOURCE = 12;
    static constexpr int ID_ROW = 101;
    TRowDialog();
    void SetupWindow() override;
    void Paint(Painter& painter) override;
    void Destroyed() override;
    void IntDraw();
private:
    void RowKill();
    void Dialog12Help();
};

// The polyline of the row profile of row obj_y of externptr: (4, 198), then (x + 5, 198 - v / 384).
std::vector<std::pair<int, int>> row_profile_points();

// Blink comparison (dialog 21).
class TBLDialog : public Dialog {
public:
    static constexpr int RESOURCE = 21;
    static constexpr int ID_FINISHED = 1;
    static constexpr int ID_SWITCH = 102;
    TBLDialog();
    void SetupWindow() override;
    void Destroyed() override;
    int blink_original = 1;
private:
    void Blink_Comparison();
    void BlinkKill();
};

extern ModelessWindow<THistDialog> hist_window;
extern ModelessWindow<T3DDialog> plot3d_window;
extern ModelessWindow<TRowDialog> TRH;
extern ModelessWindow<TBLDialog> TBL;

void CmHistogram();
void Cm3D();
void CmRowInt();
void row_plot_click(int y);
void blink_comparison();
void BlinkOriginal();
void BlinkComparison();
// The text of the Processing History box.
std::string history_text();
void Info();

void reset_analysis_views();
void register_analysis_views();
