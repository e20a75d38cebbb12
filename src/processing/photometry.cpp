#include "photometry.h"

#include <cmath>
#include <cstdio>

#include "analysis_views.h"
#include "app/core/commands.h"
#include "app/core/messages.h"
#include "app/core/mouse_modes.h"
#include "display/histogram.h"
#include "display/window_display.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"

char ph_object = 'o';
int back_select = 0;
int obj_x = 0;
int32_t obj_val = 0;
int comp_x = 0, comp_y = 0;
int32_t comp_val = 0;
int back_x = 0, back_y = 0;
int32_t back_val = 0;
int mast_x = 0, mast_y = 0;
int32_t mast_val = 0;

ModelessWindow<TPHDialog> TPH;

namespace {
enum Id {
    ID_OBJECT = 101, ID_COMPARISON = 102, ID_BACKGROUND = 103,
    ID_OBJ_X = 104, ID_OBJ_Y = 105, ID_COMP_X = 106, ID_COMP_Y = 107, ID_BACK_X = 108, ID_BACK_Y = 109,
    ID_OBJ_VAL = 110, ID_COMP_VAL = 111, ID_BACK_VAL = 112, ID_MAGNITUDE = 113,
    ID_MASK5 = 114, ID_MASK7 = 115, ID_MASK9 = 116, ID_MASK1 = 117, ID_MASK13 = 118, ID_MASK17 = 119,
    ID_MAST_X = 1018, ID_MAST_Y = 1019, ID_MAST_VAL = 1020,
};

std::string f7(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%7.0f", v);
    return text;
}

void clear_measurements()
{
    obj_val = comp_val = back_val = 0;
    obj_x = obj_y = comp_x = comp_y = back_x = back_y = 0;
}

std::string outside_text(int x, int y)
{
    char text[160];
    std::snprintf(text, sizeof text, "Sorry, outside Image area - try again\n\nx position = %5d\ny position = %5d", x, y);
    return text;
}
}

int32_t mask_sum(const uint16_t* plane, int x, int y, int r)
{
    int32_t sum = 0;
    for (int row = y - r; row <= y + r; ++row)
        for (int col = x - r; col <= x + r; ++col)
            sum += plane[row * width1 + col];
    return sum;
}

std::string magnitude_text()
{
    if (obj_val == 0 || comp_val == 0 || obj_val <= back_val || comp_val <= back_val)
        return {};
    const float object = static_cast<float>(obj_val - back_val);
    const float comparison = static_cast<float>(comp_val - back_val);
    char text[64];
    const float ratio = object / comparison;   // single-precision, then log10 in double
    std::snprintf(text, sizeof text, "%2.2f", -2.5 * std::log10(static_cast<double>(ratio)));
    return text;
}

TPHDialog::TPHDialog()
    : Dialog(RESOURCE, "PHOTOMETRY", 420, 330, {
          {ID_OBJECT, ControlKind::RadioButton, "Object", 12, 30, 110, 20, 1},
          {ID_COMPARISON, ControlKind::RadioButton, "Comparison", 12, 56, 110, 20, 1},
          {ID_BACKGROUND, ControlKind::RadioButton, "Background", 12, 82, 110, 20, 1},
          {-1, ControlKind::Static, "x", 150, 10, 40, 16},
          {-1, ControlKind::Static, "y", 200, 10, 40, 16},
          {-1, ControlKind::Static, "Value", 260, 10, 60, 16},
          {ID_OBJ_X, ControlKind::Edit, "", 130, 30, 50, 20},
          {ID_OBJ_Y, ControlKind::Edit, "", 186, 30, 50, 20},
          {ID_OBJ_VAL, ControlKind::Edit, "", 244, 30, 80, 20},
          {ID_COMP_X, ControlKind::Edit, "", 130, 56, 50, 20},
          {ID_COMP_Y, ControlKind::Edit, "", 186, 56, 50, 20},
          {ID_COMP_VAL, ControlKind::Edit, "", 244, 56, 80, 20},
          {ID_BACK_X, ControlKind::Edit, "", 130, 82, 50, 20},
          {ID_BACK_Y, ControlKind::Edit, "", 186, 82, 50, 20},
          {ID_BACK_VAL, ControlKind::Edit, "", 244, 82, 80, 20},
          {-1, ControlKind::Static, "Magnitude difference", 130, 114, 140, 16},
          {ID_MAGNITUDE, ControlKind::Edit, "", 274, 112, 60, 20},
          {-1, ControlKind::GroupBox, "Diameter of Mask", 12, 146, 396, 76},
          {ID_MASK1, ControlKind::RadioButton, "Single Pixel", 22, 166, 110, 20, 2},
          {ID_MASK5, ControlKind::RadioButton, "5 Pixels", 142, 166, 110, 20, 2},
          {ID_MASK7, ControlKind::RadioButton, "7 Pixels", 262, 166, 110, 20, 2},
          {ID_MASK9, ControlKind::RadioButton, "9 Pixels", 22, 192, 110, 20, 2},
          {ID_MASK13, ControlKind::RadioButton, "13 Pixels", 142, 192, 110, 20, 2},
          {ID_MASK17, ControlKind::RadioButton, "17 Pixels", 262, 192, 110, 20, 2},
          {-1, ControlKind::GroupBox, "Cursor Position", 12, 228, 396, 56},
          {-1, ControlKind::Static, " x           y            value", 22, 244, 200, 16},
          {ID_MAST_X, ControlKind::Edit, "", 22, 260, 60, 20},
          {ID_MAST_Y, ControlKind::Edit, "", 90, 260, 60, 20},
          {ID_MAST_VAL, ControlKind::Edit, "", 158, 260, 80, 20},
          {IDCANCEL, ControlKind::DefaultButton, "Finished", 100, 294, 90, 26},
          {9, ControlKind::Button, "Help", 230, 294, 90, 26},
      })
{
    on_click(ID_MASK1, [this] { Set1(); });
    on_click(ID_MASK5, [this] { Set5(); });
    on_click(ID_MASK7, [this] { Set7(); });
    on_click(ID_MASK9, [this] { Set9(); });
    on_click(ID_MASK13, [this] { Set13(); });
    on_click(ID_MASK17, [this] { Set17(); });
    on_click(ID_OBJECT, [this] { SetObject(); });
    on_click(ID_COMPARISON, [this] { SetComparison(); });
    on_click(ID_BACKGROUND, [this] { SetBackground(); });
    on_click(9, [this] { Dialog10Help(); });
    on_click(IDCANCEL, [this] { PHKill(); });
}

void TPHDialog::SetupWindow()
{
    EvPaint();
}

void TPHDialog::Paint(Painter&)
{
    EvPaint();
}

void TPHDialog::EvPaint()
{
    const int n = (2 * cur_rad + 1) * (2 * cur_rad + 1);
    SetText(ID_OBJ_X, std::to_string(obj_x));
    SetText(ID_OBJ_Y, std::to_string(obj_y));
    SetText(ID_COMP_X, std::to_string(comp_x));
    SetText(ID_COMP_Y, std::to_string(comp_y));
    SetText(ID_BACK_X, std::to_string(back_x));
    SetText(ID_BACK_Y, std::to_string(back_y));
    SetText(ID_MAST_X, std::to_string(mast_x));
    SetText(ID_MAST_Y, std::to_string(mast_y));
    SetText(ID_MAST_VAL, f7(static_cast<double>(mast_val)));
    SetText(ID_OBJ_VAL, f7(static_cast<double>(obj_val / n)));
    SetText(ID_COMP_VAL, f7(static_cast<double>(comp_val / n)));
    SetText(ID_BACK_VAL, f7(back_select ? static_cast<double>(back_val / n) : static_cast<double>(most_pop) * 256));
    SetText(ID_MAGNITUDE, magnitude_text());
    const int mask = cur_rad == 2 ? ID_MASK5 : cur_rad == 3 ? ID_MASK7 : cur_rad == 4 ? ID_MASK9
                   : cur_rad == 6 ? ID_MASK13 : cur_rad == 8 ? ID_MASK17 : ID_MASK1;
    SetCheck(mask, 1);
    SetCheck(ph_object == 'o' ? ID_OBJECT : ph_object == 'c' ? ID_COMPARISON : ID_BACKGROUND, 1);
}

void TPHDialog::set_mask(int radius)
{
    cur_rad = radius;
    clear_measurements();
    EvPaint();
}

void TPHDialog::SetObject()
{
    ph_object = 'o';
    EvPaint();
}

void TPHDialog::SetComparison()
{
    ph_object = 'c';
    EvPaint();
}

void TPHDialog::SetBackground()
{
    ph_object = 'b';
    back_select = 1;
    EvPaint();
}

void TPHDialog::Dialog10Help()
{
    services().boxes->show("Skyvane - Control Photometry",
                           "Select the value you wish to record when you next press the left mouse button");
}

void TPHDialog::PHKill()
{
    CloseWindow(IDCANCEL);
}

void TPHDialog::Destroyed()
{
    photometry = 0;
    services().desktop->set_cursor(CursorShape::Arrow);
    TPH.release();
}

void CmPhotometry()
{
    if (merging || row_plot) {
        messages(37);
        return;
    }
    if (Geo || Big || Fit) {
        messages(38);
        return;
    }
    if (photometry) {
        messages(39);
        return;
    }
    cur_rad = 4;
    clear_measurements();
    mast_x = mast_y = 0;
    mast_val = 0;
    back_select = 0;
    photometry = 1;
    TPH.open();
    services().desktop->set_cursor(CursorShape::Cross);
}

void photometry_click(int x, int y)
{
    const int r = cur_rad;
    // Homing may have moved the point; the mask must still lie wholly inside the image.
    if (x - r < 0 || y - r < 0 || x + r > width2 || y + r > height2) {
        messages(50, outside_text(x, y));
        return;
    }
    const int32_t sum = mask_sum(image.fred3, x, y, r);
    if (ph_object == 'o') {
        obj_x = x;
        obj_y = y;
        obj_val = sum;
    } else if (ph_object == 'c') {
        comp_x = x;
        comp_y = y;
        comp_val = sum;
    } else {
        back_x = x;
        back_y = y;
        back_val = sum;
    }
    if (TPH)
        TPH->EvPaint();
}

void photometry_move(int x, int y)
{
    if (!(1 < x && x < width2 && 1 < y && y < height2))
        return;
    mast_x = x;
    mast_y = y;
    mast_val = image_int[y * width1 + x];
    if (TPH)
        TPH->EvPaint();
}

void reset_photometry()
{
    TPH.forget();
    ph_object = 'o';
    back_select = 0;
    obj_x = 0;
    obj_val = comp_val = back_val = mast_val = 0;
    comp_x = comp_y = back_x = back_y = mast_x = mast_y = 0;
}

void register_photometry()
{
    register_command(14, CmPhotometry, CommandKind::Free);
    mouse_modes.photometry_click = photometry_click;
    mouse_modes.photometry_move = photometry_move;
}
