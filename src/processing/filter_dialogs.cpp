#include "filter_dialogs.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/services.h"
#include "stretch.h"

namespace {
void help_box(const char* caption, const char* text)
{
    services().boxes->show(caption, text, BoxButtons::Ok);
}

// A spin's line-left and line-right notifications; other scroll actions do nothing.
template <class Down, class Up>
void spin(Dialog& d, int id, Down down, Up up)
{
    d.on_scroll(id, [down, up](ScrollCode code, int) {
        if (code == ScrollCode::LineUp) down();
        else if (code == ScrollCode::LineDown) up();
    });
}

std::string whole(uint32_t value)
{
    return std::to_string(value);
}

std::string tenths(uint32_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%1.1f", value * 0.1);
    return text;
}

// Steps VALUE by one in the direction of DELTA within LOW..HIGH, then shows it in EDIT (as TEXT
// writes it) and on SPIN.
void step_value(Dialog& d, uint32_t& value, int delta, uint32_t low, uint32_t high, int edit, int spin,
                std::string (*text)(uint32_t))
{
    if (delta < 0 && value > low) --value;
    if (delta > 0 && value < high) ++value;
    d.SetText(edit, text(value));
    d.SetScrollPos(spin, static_cast<int>(value));
}

// Both dialogs: a radius and a power, each an edit field with its spin, and OK, Cancel, Help.
std::vector<ControlSpec> two_spin_controls(int edit_radius, int spin_radius, const char* radius,
                                           int edit_power, int spin_power, const char* power, int help)
{
    return {
        {-1, ControlKind::Static, "Radius", 16, 18, 60, 16},
        {edit_radius, ControlKind::Edit, radius, 90, 16, 50, 20},
        {spin_radius, ControlKind::HScroll, "", 146, 16, 34, 20},
        {-1, ControlKind::Static, "Power", 16, 52, 60, 16},
        {edit_power, ControlKind::Edit, power, 90, 50, 50, 20},
        {spin_power, ControlKind::HScroll, "", 146, 50, 34, 20},
        {IDOK, ControlKind::DefaultButton, "OK", 10, 96, 80, 26},
        {IDCANCEL, ControlKind::Button, "Cancel", 100, 96, 80, 26},
        {help, ControlKind::Button, "Help", 190, 96, 80, 26},
    };
}
}

// ---------------------------------------------------------------- Unsharp Mask

const char* const TUnsharpDialog::HELP_TEXT = "Use controls to vary the radius from 1 to 7, and the power from 1 to 7.";

TUnsharpDialog::TUnsharpDialog()
    : Dialog(RESOURCE, "Unsharp Mask Filter", 280, 140,
             two_spin_controls(EDIT_RADIUS, SPIN_RADIUS, "3", EDIT_POWER, SPIN_POWER, "1", HELP))
{
    spin(*this, SPIN_RADIUS, [this] { DecrementWhite(); }, [this] { IncrementWhite(); });
    spin(*this, SPIN_POWER, [this] { DecrementBlack(); }, [this] { IncrementBlack(); });
    on_click(HELP, [this] { Dialog1Help(); });
}

void TUnsharpDialog::SetupWindow()
{
    SetScrollRange(SPIN_RADIUS, 1, 7, 1);
    SetScrollPos(SPIN_RADIUS, static_cast<int>(white));
    SetScrollRange(SPIN_POWER, 1, 7, 1);
    SetScrollPos(SPIN_POWER, static_cast<int>(black));
}

void TUnsharpDialog::DecrementWhite() { step_value(*this, white, -1, 1, 7, EDIT_RADIUS, SPIN_RADIUS, whole); }

void TUnsharpDialog::IncrementWhite() { step_value(*this, white, 1, 1, 7, EDIT_RADIUS, SPIN_RADIUS, whole); }

void TUnsharpDialog::DecrementBlack() { step_value(*this, black, -1, 1, 7, EDIT_POWER, SPIN_POWER, whole); }

void TUnsharpDialog::IncrementBlack() { step_value(*this, black, 1, 1, 7, EDIT_POWER, SPIN_POWER, whole); }

void TUnsharpDialog::Dialog1Help()
{
    help_box(HELP_CAPTION, HELP_TEXT);
}

// ---------------------------------------------------------------- Median

const char* const TMedianDialog::HELP_TEXT = "Use controls to vary the radius from 1 to 3, and the power from 0.1 to 1.";

TMedianDialog::TMedianDialog()
    : Dialog(RESOURCE, "Median Filter", 280, 140,
             two_spin_controls(EDIT_RADIUS, SPIN_RADIUS, "1", EDIT_POWER, SPIN_POWER, ".6", HELP))
{
    spin(*this, SPIN_RADIUS, [this] { DecrementWhite(); }, [this] { IncrementWhite(); });
    spin(*this, SPIN_POWER, [this] { DecrementBlack(); }, [this] { IncrementBlack(); });
    on_click(HELP, [this] { Dialog1Help(); });
}

void TMedianDialog::SetupWindow()
{
    SetScrollRange(SPIN_RADIUS, 1, 3, 1);
    SetScrollPos(SPIN_RADIUS, static_cast<int>(white));
    SetScrollRange(SPIN_POWER, 1, 10, 1);
    SetScrollPos(SPIN_POWER, static_cast<int>(black));
}

void TMedianDialog::DecrementWhite() { step_value(*this, white, -1, 1, 3, EDIT_RADIUS, SPIN_RADIUS, whole); }

void TMedianDialog::IncrementWhite() { step_value(*this, white, 1, 1, 3, EDIT_RADIUS, SPIN_RADIUS, whole); }

void TMedianDialog::DecrementBlack() { step_value(*this, black, -1, 1, 10, EDIT_POWER, SPIN_POWER, tenths); }

void TMedianDialog::IncrementBlack() { step_value(*this, black, 1, 1, 10, EDIT_POWER, SPIN_POWER, tenths); }

void TMedianDialog::Dialog1Help()
{
    help_box(HELP_CAPTION, HELP_TEXT);
}
