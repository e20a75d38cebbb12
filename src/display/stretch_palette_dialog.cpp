#include "stretch_palette_dialog.h"

#include "store/flags.h"

TMaxDialog::TMaxDialog()
    : Dialog(RESOURCE, "Stretch Palette", 260, 150, {
          {-1, ControlKind::Static, "10 bit", 12, 14, 40, 16},
          {SCROLL_STRETCH, ControlKind::HScroll, "", 56, 12, 140, 18},
          {-1, ControlKind::Static, "16 bit", 202, 14, 40, 16},
          {-1, ControlKind::Static, "Multiplier selector", 12, 46, 120, 16},
          {FIELD_STRETCH, ControlKind::Edit, "", 140, 44, 56, 20},
          {CHECK_ALL_IMAGES, ControlKind::CheckBox, "Selected for use on all images", 12, 76, 230, 20},
          {IDOK, ControlKind::DefaultButton, "OK", 90, 110, 80, 26},
      })
{
    on_scroll(SCROLL_STRETCH, [this](ScrollCode code, int pos) { EvHScroll(code, pos); });
    on_click(CHECK_ALL_IMAGES, [this] { CmAllImages(); });
}

void TMaxDialog::SetupWindow()
{
    SetScrollRange(SCROLL_STRETCH, 10, 16, 1);
    show_variables();
}

void TMaxDialog::Paint(Painter&)
{
    show_variables();
}

void TMaxDialog::show_variables()
{
    SetText(FIELD_STRETCH, std::to_string(focus_stretch));
    SetScrollPos(SCROLL_STRETCH, focus_stretch);
    SetCheck(CHECK_ALL_IMAGES, max_stretch ? 1 : 0);
}

void TMaxDialog::EvHScroll(ScrollCode code, int pos)
{
    switch (code) {
    case ScrollCode::LineUp:
        if (focus_stretch > 10) --focus_stretch;
        break;
    case ScrollCode::LineDown:
        if (focus_stretch < 16) ++focus_stretch;
        break;
    case ScrollCode::PageUp:
        focus_stretch = 10;
        break;
    case ScrollCode::PageDown:
        focus_stretch = 16;
        break;
    case ScrollCode::ThumbTrack:
    case ScrollCode::ThumbPosition:
        if (pos >= 10 && pos <= 16) focus_stretch = pos;
        break;
    default:
        break;
    }
    show_variables();
}

void TMaxDialog::CmAllImages()
{
    // The click has already toggled the box; the variable follows it.
    max_stretch = max_stretch ? 0 : 1;
    show_variables();
}
