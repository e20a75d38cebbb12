#include "stretch_dialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "display/histogram.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "stretch.h"

namespace {
void help_box(const char* caption, const char* text)
{
    services().boxes->show(caption, text, BoxButtons::Ok);
}

constexpr Rgb BLUE{0, 0, 255};
constexpr Rgb GREY{128, 128, 128};
constexpr Rgb RED{255, 0, 0};
constexpr Rgb BLACK_PEN{0, 0, 0};
constexpr Rgb WHITE_FILL{255, 255, 255};
}

// ---------------------------------------------------------------- Normal Stretch

const char* const TStretchDialog::HELP_TEXT =
    "Use controls to vary intensity from 0 to 255, where the lowest value will be shown as black "
    "and the highest by white. \n\nIf you type values into the black or white boxes you must press "
    "the set white or black button to activate.\n\n It is possible to darken the image overall by "
    "increasing the white level to 300.";

// The histogram occupies the client area up to (268, 232); the level controls sit beside it.
TStretchDialog::TStretchDialog()
    : Dialog(RESOURCE, "Normal Stretch", 440, 290, {
          {-1, ControlKind::Static, "Black", 282, 16, 60, 16},
          {EDIT_BLACK, ControlKind::Edit, "0", 350, 14, 70, 20},
          {SCROLL_BLACK, ControlKind::HScroll, "", 282, 40, 140, 18},
          {-1, ControlKind::Static, "White", 282, 80, 60, 16},
          {EDIT_WHITE, ControlKind::Edit, "255", 350, 78, 70, 20},
          {SCROLL_WHITE, ControlKind::HScroll, "", 282, 104, 140, 18},
          {IDOK, ControlKind::DefaultButton, "OK", 20, 248, 80, 26},
          {IDCANCEL, ControlKind::Button, "Cancel", 120, 248, 80, 26},
          {HELP, ControlKind::Button, "Help", 220, 248, 80, 26},
      })
{
    on_scroll(SCROLL_BLACK, [this](ScrollCode code, int pos) { EvHScroll(SCROLL_BLACK, code, pos); });
    on_scroll(SCROLL_WHITE, [this](ScrollCode code, int pos) { EvHScroll(SCROLL_WHITE, code, pos); });
    on_click(HELP, [this] { Dialog1Help(); });
}

void TStretchDialog::SetupWindow()
{
    SetScrollRange(SCROLL_BLACK, 0, 255, 10);
    SetScrollRange(SCROLL_WHITE, 1, 300, 10);
    Scrollbars();
}

void TStretchDialog::Scrollbars()
{
    SetScrollPos(SCROLL_BLACK, static_cast<int>(black));
    SetScrollPos(SCROLL_WHITE, static_cast<int>(white));
}

void TStretchDialog::Paint(Painter& p)
{
    p.set_pen(BLUE);
    p.line(5, 5, 5, 213);
    p.line(5, 213, 263, 213);
    for (int x = 40; x <= 264; x += 32) {
        const int end = x == 136 ? 220 : (x == 72 || x == 200) ? 218 : 215;
        p.line(x, 213, x, end);
    }
    for (int i = 0; i < 256; ++i) {
        const uint32_t h = table[i] / 5;
        if (h > 210) {
            p.set_pen(RED);
            p.line(i + 8, 210, i + 8, 0);
        } else {
            p.set_pen(GREY);
            p.line(i + 8, 210, i + 8, 210 - static_cast<int>(h));
        }
    }
    DrawHistogram(&p);
}

void TStretchDialog::show_levels()
{
    SetText(EDIT_BLACK, std::to_string(black));
    SetText(EDIT_WHITE, std::to_string(white));
    Scrollbars();
}

void TStretchDialog::DrawHistogram(Painter* painter)
{
    if (!painter) {
        show_levels();
        Invalidate();
        return;
    }
    Painter& p = *painter;
    p.fill_rect({4, 219, 268, 232}, WHITE_FILL);
    p.set_pen(BLACK_PEN);
    p.rectangle({4, 219, 268, 232});
    const int marks[2] = {static_cast<int>(black) + 8, static_cast<int>(std::min<uint32_t>(white, 255)) + 8};
    for (int x : marks) {
        p.line(x, 230, x, 220);
        p.line(x - 3, 224, x, 221);
        p.line(x, 221, x + 3, 224);
    }
    show_levels();
}

void TStretchDialog::EvHScroll(int id, ScrollCode code, int pos)
{
    const bool is_white = id == SCROLL_WHITE;
    switch (code) {
    case ScrollCode::LineUp: is_white ? DecrementWhite() : DecrementBlack(); break;
    case ScrollCode::LineDown: is_white ? IncrementWhite() : IncrementBlack(); break;
    case ScrollCode::PageUp: is_white ? DecPageWhite() : DecPageBlack(); break;
    case ScrollCode::PageDown: is_white ? IncPageWhite() : IncPageBlack(); break;
    case ScrollCode::ThumbTrack:
    case ScrollCode::ThumbPosition:
        if (is_white) {
            if (pos > static_cast<int>(black)) white = static_cast<uint32_t>(pos);
        } else if (pos >= 0 && pos < static_cast<int>(white)) {
            black = static_cast<uint32_t>(pos);
        }
        break;
    default:
        break;
    }
    DrawHistogram();
}

void TStretchDialog::DecrementWhite()
{
    if (white > 0 && black + 1 < white) --white;
    SetText(EDIT_WHITE, std::to_string(white));
    DrawHistogram();
}

void TStretchDialog::IncrementWhite()
{
    if (white < 300) ++white;
    SetText(EDIT_WHITE, std::to_string(white));
    DrawHistogram();
}

void TStretchDialog::DecPageWhite()
{
    if (white > 9 && black + 10 < white) white -= 10;
    SetText(EDIT_WHITE, std::to_string(white));
    DrawHistogram();
}

void TStretchDialog::IncPageWhite()
{
    if (white < 291) white += 10;
    SetText(EDIT_WHITE, std::to_string(white));
    DrawHistogram();
}

void TStretchDialog::DecrementBlack()
{
    if (black > 0) --black;
    SetText(EDIT_BLACK, std::to_string(black));
    DrawHistogram();
}

void TStretchDialog::IncrementBlack()
{
    if (black < 255 && white - 1 > black) ++black;
    SetText(EDIT_BLACK, std::to_string(black));
    DrawHistogram();
}

void TStretchDialog::DecPageBlack()
{
    if (black > 9) black -= 10;
    SetText(EDIT_BLACK, std::to_string(black));
    DrawHistogram();
}

void TStretchDialog::IncPageBlack()
{
    // black + 10 < white: the same condition as white - 10 > black, without wrapping below 10.
    if (black < 246 && black + 10 < white) black += 10;
    SetText(EDIT_BLACK, std::to_string(black));
    DrawHistogram();
}

void TStretchDialog::Dialog1Help()
{
    help_box(HELP_CAPTION, HELP_TEXT);
    DrawHistogram();
}

// ---------------------------------------------------------------- Power Law

const char* const TPowerDialog::HELP_TEXT =
    "Use controls to vary power from 0.1 to 3.0, where powers greater than 1 will increase "
    "contrast, and powers less than 1 will reduce contrast.";

TPowerDialog::TPowerDialog()
    : Dialog(RESOURCE, "Power Law Stretch", 300, 140, {
          {-1, ControlKind::Static, "Power", 16, 18, 60, 16},
          {EDIT_POWER, ControlKind::Edit, "1.0", 90, 16, 60, 20},
          {SCROLL_POWER, ControlKind::HScroll, "", 16, 50, 260, 18},
          {IDOK, ControlKind::DefaultButton, "OK", 16, 96, 80, 26},
          {IDCANCEL, ControlKind::Button, "Cancel", 106, 96, 80, 26},
          {HELP, ControlKind::Button, "Help", 196, 96, 80, 26},
      })
{
    on_scroll(SCROLL_POWER, [this](ScrollCode code, int) {
        if (code == ScrollCode::LineUp) DecrementPower();
        else if (code == ScrollCode::LineDown) IncrementPower();
    });
    on_click(HELP, [this] { Dialog2Help(); });
}

void TPowerDialog::SetupWindow()
{
    SetScrollRange(SCROLL_POWER, 1, 30, 1);
    SetScrollPos(SCROLL_POWER, 10);
}

void TPowerDialog::UpdateScrollbar()
{
    char text[32];
    std::snprintf(text, sizeof text, "%1.1f", power_str);
    SetText(EDIT_POWER, text);
    SetScrollPos(SCROLL_POWER, static_cast<int>(std::trunc(10.0 * power_str)));
}

void TPowerDialog::DecrementPower()
{
    if (power_str > 0.2) power_str -= 0.1;
    UpdateScrollbar();
}

void TPowerDialog::IncrementPower()
{
    if (!(power_str >= 3.0)) power_str += 0.1;
    UpdateScrollbar();
}

void TPowerDialog::Dialog2Help()
{
    help_box(HELP_CAPTION, HELP_TEXT);
}

// ---------------------------------------------------------------- Non-Linear

const char* const TNonLiniarDialog::HELP_TEXT = "Use controls to vary the Power from 2 to 50";

TNonLiniarDialog::TNonLiniarDialog()
    : Dialog(RESOURCE, "Non-Linear Stretch", 320, 170, {
          {-1, ControlKind::Static, "Non-Linear Power", 16, 18, 120, 16},
          {EDIT_POWER, ControlKind::Edit, "25", 140, 16, 50, 20},
          {SPIN_POWER, ControlKind::HScroll, "", 196, 16, 34, 20},
          {-1, ControlKind::Static,
           "This stretch works well for images of nebulae. First use the stretch that removes the background. ",
           16, 50, 288, 48},
          {IDOK, ControlKind::DefaultButton, "OK", 16, 124, 80, 26},
          {IDCANCEL, ControlKind::Button, "Cancel", 116, 124, 80, 26},
          {HELP, ControlKind::Button, "Help", 216, 124, 80, 26},
      })
{
    on_scroll(SPIN_POWER, [this](ScrollCode code, int) {
        if (code == ScrollCode::LineUp) DecrementWhite();
        else if (code == ScrollCode::LineDown) IncrementWhite();
    });
    on_click(HELP, [this] { Dialog1Help(); });
}

void TNonLiniarDialog::SetupWindow()
{
    SetScrollRange(SPIN_POWER, 2, 50, 1);
    SetScrollPos(SPIN_POWER, static_cast<int>(white));
}

void TNonLiniarDialog::show_power()
{
    SetText(EDIT_POWER, std::to_string(white));
    SetScrollPos(SPIN_POWER, static_cast<int>(white));
}

void TNonLiniarDialog::DecrementWhite()
{
    if (white > 2) --white;
    show_power();
}

void TNonLiniarDialog::IncrementWhite()
{
    if (white < 50) ++white;
    show_power();
}

void TNonLiniarDialog::Dialog1Help()
{
    help_box(HELP_CAPTION, HELP_TEXT);
}
