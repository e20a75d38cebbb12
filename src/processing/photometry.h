// Photometry mode: the PHOTOMETRY window, the measuring clicks and the pointer readout.
#pragma once
#include <cstdint>
#include <string>

#include "modeless_window.h"
#include "platform/dialog.h"

extern char ph_object;      // what the next click measures: 'o', 'c' or 'b'
extern int back_select;     // the Background button was pressed since photometry started
extern int obj_x;           // obj_y is the row-profile row as well (analysis_views.h)
extern int32_t obj_val;
extern int comp_x, comp_y;
extern int32_t comp_val;
extern int back_x, back_y;
extern int32_t back_val;
extern int mast_x, mast_y;
extern int32_t mast_val;

class TPHDialog : public Dialog {
public:
    static constexpr int RESOURCE = 10;
    TPHDialog();
    void SetupWindow() override;
    void Paint(Painter&) override;
    void Destroyed() override;
    void EvPaint();
private:
    void set_mask(int radius);
    void Set1() { set_mask(0); }
    void Set5() { set_mask(2); }
    void Set7() { set_mask(3); }
    void Set9() { set_mask(4); }
    void Set13() { set_mask(6); }
    void Set17() { set_mask(8); }
    void SetObject();
    void SetComparison();
    void SetBackground();
    void Dialog10Help();
    void PHKill();
};

extern ModelessWindow<TPHDialog> TPH;

// The magnitude difference box: "%2.2f" of -2.5 log10 of the ratio, or empty.
std::string magnitude_text();
// Sum of the samples of the mask of radius R around (X, Y) of PLANE.
int32_t mask_sum(const uint16_t* plane, int x, int y, int r);

void CmPhotometry();
void photometry_click(int x, int y);
void photometry_move(int x, int y);

void reset_photometry();
void register_photometry();
