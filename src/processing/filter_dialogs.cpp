#include "filter_dialogs.h"

#include <cstdio>
#include <string>

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

std::string tenths(uint32_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%1.1f", value * 0.1);
    return text;
}
}

// ---------------------------------------------------------------- Unsharp Mask

const char* const TUnsharpDialog::HELP_TEXT = "Use controls to vary the radius from 1 to 7, and the power from 1 to 7.";

TUnsharpDialog::TUnsharpDialog()
    : Dialog(RESOURCE, "Unsharp Mask Filter", 280, 140, {
          {-1, ControlKind::Static, "Radius", 16, 18, 60, 16},
          {EDIT_RADIUS, ControlKind::Edit, "3", 90, 16, 50, 20},
          {SPIN_RADIUS, ControlKind::HScroll, "", 146, 16, 34, 20},
          {-1, ControlKind::Static, "Power", 16, 52, 60, 16},
          {EDIT_POWER, ControlKind::Edit, "1", 90, 50, 50, 20},
          {SPIN_POWER, ControlKind::HScroll, "", 146, 50, 34, 20},
          {IDOK, ControlKind::DefaultButton, "OK", 10, 96, 80, 26},
          {IDCANCEL, ControlKind::Button, "Cancel", 100, 96, 80, 26},
          {HELP, ControlKind::Button, "Help", 190, 96, 80, 26},
      })
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

void TUnsharpDialog::DecrementWhite()
{
    if (white > 1) --white;
    SetText(EDIT_RADIUS, std::to_string(white));
    SetScrollPos(SPIN_RADIUS, static_cast<int>(white));
}

void TUnsharpDialog::IncrementWhite()
{
    if (white < 7) ++white;
    SetText(EDIT_RADIUS, std::to_string(white));
    SetScrollPos(SPIN_RADIUS, static_cast<int>(white));
}

void TUnsharpDialog::DecrementBlack()
{
    if (black > 1) --black;
    SetText(EDIT_POWER, std::to_string(black));
    SetScrollPos(SPIN_POWER, static_cast<int>(black));
}

void TUnsharpDialog::IncrementBlack()
{
    if (black < 7) ++black;
    SetText(EDIT_POWER, std::to_string(black));
    SetScrollPos(SPIN_POWER, static_cast<int>(black));
}

void TUnsharpDialog::Dialog1Help()
{
    help_box(HELP_CAPTION, HELP_TEXT);
}

// ---------------------------------------------------------------- Median

const char* const TMedianDialog::HELP_TEXT = "Use controls to vary the radius from 1 to 3, and the power from 0.1 to 1.";

TMedianDialog::TMedianDialog()
    : Dialog(RESOURCE, "Median Filter", 280, 140, {
          {-1, ControlKind::Static, "Radius", 16, 18, 60, 16},
          {EDIT_RADIUS, ControlKind::Edit, "1", 90, 16, 50, 20},
          {SPIN_RADIUS, ControlKind::HScroll, "", 146, 16, 34, 20},
          {-1, ControlKind::Static, "Power", 16, 52, 60, 16},
          {EDIT_POWER, ControlKind::Edit, ".6", 90, 50, 50, 20},
          {SPIN_POWER, ControlKind::HScroll, "", 146, 50, 34, 20},
          {IDOK, ControlKind::DefaultButton, "OK", 10, 96, 80, 26},
          {IDCANCEL, ControlKind::Button, "Cancel", 100, 96, 80, 26},
          {HELP, ControlKind::Button, "Help", 190, 96, 80, 26},
      })
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

void TMedianDialog::DecrementWhite()
{
    if (white > 1) --white;
    SetText(EDIT_RADIUS, std::to_string(white));
    SetScrollPos(SPIN_RADIUS, static_cast<int>(white));
}

void TMedianDialog::IncrementWhite()
{
    if (white < 3) ++white;
    SetText(EDIT_RADIUS, std::to_string(white));
    SetScrollPos(SPIN_RADIUS, static_cast<int>(white));
}

void TMedianDialog::DecrementBlack()
{
    if (black > 1) --black;
    SetText(EDIT_POWER, tenths(black));
    SetScrollPos(SPIN_POWER, static_cast<int>(black));
}

void TMedianDialog::IncrementBlack()
{
    if (black < 10) ++black;
    SetText(EDIT_POWER, tenths(black));
    SetScrollPos(SPIN_POWER, static_cast<int>(black));
}

void TMedianDialog::Dialog1Help()
{
    help_box(HELP_CAPTION, HELP_TEXT);
}
