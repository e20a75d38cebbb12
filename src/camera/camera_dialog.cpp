#include "camera_dialog.h"

#include <optional>

#include "app/core/messages.h"
#include "camera_hooks.h"
#include "display/bmp_file.h"
#include "files/settings_values.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "sequence_state.h"
#include "store/flags.h"
#include "zr_readout.h"

namespace {
using K = ControlKind;

std::vector<ControlSpec> camera_controls()
{
    using D = TZRDialog;
    return {
        {-1, K::GroupBox, "Exposure Range", 10, 6, 158, 150},
        {-1, K::Static, "Exposure Range", 18, 24, 140, 16},
        {D::RANGE_Q, K::RadioButton, "Thousandth's", 18, 42, 140, 20, 1},
        {D::RANGE_H, K::RadioButton, "Hundredth's", 18, 64, 140, 20, 1},
        {D::RANGE_T, K::RadioButton, "Tenth's", 18, 86, 140, 20, 1},
        {D::RANGE_S, K::RadioButton, "Seconds", 18, 108, 140, 20, 1},
        {D::RANGE_M, K::RadioButton, "Minutes", 18, 130, 140, 20, 1},
        {-1, K::Static, "Exposure Value", 10, 164, 110, 16},
        {-1, K::Static, "1k", 140, 164, 28, 16},
        {D::EXP_SCROLL, K::HScroll, "", 10, 184, 104, 18},
        {D::EXP_FIELD, K::Edit, "", 118, 182, 50, 22},

        {-1, K::GroupBox, "Camera Binning", 10, 216, 158, 112},
        {D::MODE_BINNED, K::RadioButton, "Standard (QV916)", 16, 236, 150, 20, 2},
        {D::MODE_FAST, K::RadioButton, "High Res (Fast)", 16, 258, 150, 20, 2},
        {D::MODE_PROGRESSIVE, K::RadioButton, "High Res(Progressive)", 16, 280, 150, 20, 2},
        {D::MODE_INTERLACED, K::RadioButton, "High Res(Interlaced)", 16, 302, 150, 20, 2},

        {-1, K::GroupBox, "Multiple Exposure Options", 174, 6, 192, 230},
        {D::CONTINUOUS, K::CheckBox, "Continuous Mode", 180, 26, 182, 20},
        {-1, K::Static, "Delay between exposures (mins)", 180, 50, 184, 16},
        {D::DELAY_SCROLL, K::HScroll, "", 180, 70, 126, 18},
        {D::DELAY_FIELD, K::Edit, "", 312, 68, 46, 22},
        {-1, K::Static, "No of Exposures", 180, 98, 150, 16},
        {D::IMAGES_SCROLL, K::HScroll, "", 180, 118, 126, 18},
        {D::IMAGES_FIELD, K::Edit, "", 312, 116, 46, 22},
        {D::EXPOSURE_DELAY, K::CheckBox, "Delay before exposure", 180, 148, 182, 20},
        {D::AVERAGE, K::CheckBox, "Average Multiple Exposures", 180, 172, 184, 20},
        {D::SLEW_ALT, K::CheckBox, "Alternative Slew Method", 180, 196, 182, 20},

        {-1, K::GroupBox, "Focus Mode", 373, 6, 257, 128},
        {D::FOCUS_START, K::Button, "Start", 383, 26, 70, 26},
        {D::FOCUS_STOP, K::Button, "Stop", 460, 26, 70, 26},
        {-1, K::Static, "Max Value", 540, 30, 80, 16},
        {D::MAX_VALUE, K::Edit, "", 540, 48, 80, 22},
        {D::AUTO_EXPOSURE, K::CheckBox, "Auto Exposure Mode", 383, 60, 150, 20},
        {D::FOCUS_WAIT, K::CheckBox, "Pause between focus frames", 383, 84, 200, 20},
        {D::MAX_STRETCH, K::CheckBox, "Use Stretch on all Images", 383, 108, 200, 20},
        {-1, K::GroupBox, "Focus Frame", 366, 138, 142, 154},
        {-1, K::Static, "Stretch", 516, 144, 60, 16},
        {-1, K::Static, "10bit", 516, 162, 40, 16},
        {D::STRETCH_SCROLL, K::VScroll, "", 522, 182, 18, 84},
        {-1, K::Static, "16bit", 516, 270, 40, 16},
        {D::STRETCH_FIELD, K::Edit, "", 548, 212, 44, 22},

        {D::AUTO_SAVE, K::CheckBox, "Auto Save Image", 10, 340, 140, 20},
        {-1, K::Static, "Last File no.", 150, 342, 80, 16},
        {D::LAST_FILE, K::Edit, "", 230, 340, 60, 22},
        {-1, K::Static, "Directory", 298, 342, 60, 16},
        {D::DIRECTORY, K::Edit, "", 360, 340, 150, 22},
        {D::AUTO_DARK, K::CheckBox, "Auto-Remove Dark Frame", 10, 368, 180, 20},
        {D::DARK_NAME, K::Edit, "", 195, 366, 315, 22},
        {D::AUTO_FLAT, K::CheckBox, "Auto-Apply Flatfield", 10, 394, 180, 20},
        {D::FLAT_NAME, K::Edit, "", 195, 392, 315, 22},

        {-1, K::GroupBox, "SelfGuiding Options", 10, 424, 500, 124},
        {D::SELF_GUIDE, K::CheckBox, "Self-Guide Next Exposure", 20, 444, 200, 20},
        {D::SELF_GUIDE_DARK, K::CheckBox, "Take matching Darkframe", 20, 468, 200, 20},
        {-1, K::Static, "***Nb: Self-Guide only available with special Control Box", 20, 494, 200, 44},
        {-1, K::Static, "No of Guider frames", 228, 446, 124, 16},
        {D::GUIDER_FRAMES, K::Edit, "", 356, 444, 50, 22},
        {-1, K::Static, "Value", 228, 472, 40, 16},
        {D::GUIDE_VALUE, K::Edit, "", 270, 470, 50, 22},
        {D::GUIDE_RANGE, K::Edit, "", 326, 470, 100, 22},
        {-1, K::Static, "Resolution", 228, 500, 70, 16},
        {D::GUIDE_RESOLUTION, K::MultiLineEdit, "", 300, 498, 200, 42},

        {D::TAKE_PHOTO, K::DefaultButton, "Take Photo", 522, 430, 106, 30},
        {D::CANCEL, K::Button, "Cancel", 522, 468, 106, 30},
        {D::HELP, K::Button, "Help", 522, 506, 106, 30},
    };
}

const char* const HELP_TEXT =
    "Select exposure range using Radio buttons on left of dialog Window \nSelect anti-smear status using checkbox\n"
    "Vary exposure time using scroll arrows,and take exposure by pressing the 'Take Photo' button\n\n"
    "The Focus mode allows repeated exposures of 0.01 to 10 seconds to be made, and displays the value of the most "
    "saturated pixel. In a starfield, altering the focus until the maximum value is returned will give a good "
    "indication of best focus.\n\nIt is posssible to use an 'slew and sum' mode, which will automatically sum images "
    "together, taking into account small amounts of drift in the telescope drive. To do this simply change the number "
    "of exposures from 1 to any value less than 100.\n\nPress Right Hand mouse button anywhere in Skyvane Window to "
    "pematurely terminate an exposure.\n\nThe delay option gives an audible 10 second countdown to the exposure start\n\n"
    "If multiple is used to control Continuous mode Slew&Sum is disabled";

std::string range_word(char range)
{
    switch (range) {
    case 'h': return "hundredths";
    case 'q': return "thousandths";
    case 's': return "seconds";
    case 't': return "tenths";
    default: return "minutes";
    }
}

// A guide frame must be shorter than 12 seconds.
bool guide_exposure_accepted()
{
    switch (exp_range) {
    case 'q': return exp_value < 12000;
    case 'h': return exp_value < 1200;
    case 't': return exp_value < 120;
    case 's': return exp_value < 12;
    default: return false;
    }
}

// The self-guiding readout variant for the current mode.
void set_self_guiding_variant()
{
    if (binned21) {
        selfguidinghigh = selfguiding21 = switch_frame = 1;
    } else if (highres_nonintl) {
        switch_frame = selfguidinghigh = 1;
        selfguiding21 = 0;
    } else {
        selfguidinghigh = selfguiding21 = switch_frame = 0;
    }
}

// Choosing a readout mode or unticking self-guiding disarms every self-guiding flag together.
void disarm_self_guiding()
{
    selfguiding = 0;
    switch_frame = 0;
    selfguidinghigh = 0;
    selfguiding21 = 0;
}
}

TZRDialog::TZRDialog() : Dialog(RESOURCE, "QV Control Interface", 640, 556, camera_controls())
{
    on_click(HELP, [this] { Dialog7Help(); });
    on_click(RANGE_Q, [this] { SetThousandths(); });
    on_click(RANGE_H, [this] { SetHundredths(); });
    on_click(RANGE_T, [this] { SetTenths(); });
    on_click(RANGE_S, [this] { SetSeconds(); });
    on_click(RANGE_M, [this] { SetMinutes(); });
    on_click(CONTINUOUS, [this] { SetContinuous(); });
    on_click(EXPOSURE_DELAY, [this] { SetDelay(); });
    on_click(AVERAGE, [this] { SetAverage(); });
    on_click(SLEW_ALT, [this] { SetSlewAlt(); });
    on_click(MODE_BINNED, [this] { SetNormal(); });
    on_click(MODE_FAST, [this] { SetBinned21(); });
    on_click(MODE_PROGRESSIVE, [this] { SetHighResIntl(); });
    on_click(MODE_INTERLACED, [this] { SetHighResNonIntl(); });
    on_click(FOCUS_START, [this] { Start(); });
    on_click(FOCUS_STOP, [this] { Stop(); });
    on_click(AUTO_EXPOSURE, [this] { SetAutoExp(); });
    on_click(FOCUS_WAIT, [this] { SetFocusWait(); });
    on_click(MAX_STRETCH, [this] { SetMaxStretch(); });
    on_click(AUTO_SAVE, [this] { SetAutoSave(); });
    on_click(AUTO_DARK, [this] { SetDark(); });
    on_click(AUTO_FLAT, [this] { SetFlat(); });
    on_click(SELF_GUIDE, [this] { SetSelfGuiding(); });
    on_click(SELF_GUIDE_DARK, [this] { SetSelfGuidingDarkframe(); });
    auto spin = [this](int id, void (TZRDialog::*down)(), void (TZRDialog::*up)()) {
        on_scroll(id, [this, down, up](ScrollCode code, int) {
            if (code == ScrollCode::LineUp) (this->*down)();
            else if (code == ScrollCode::LineDown) (this->*up)();
        });
    };
    spin(EXP_SCROLL, &TZRDialog::DecrementExp, &TZRDialog::IncrementExp);
    spin(IMAGES_SCROLL, &TZRDialog::DecrementImg, &TZRDialog::IncrementImg);
    spin(DELAY_SCROLL, &TZRDialog::DecrementDelay, &TZRDialog::IncrementDelay);
    on_scroll(STRETCH_SCROLL, [this](ScrollCode code, int pos) { EvVScroll(code, pos); });
}

void TZRDialog::SetupWindow()
{
    stopit = 1;
    max_value = 0;
    SetScrollRange(EXP_SCROLL, 0, max_exp);
    SetScrollPos(EXP_SCROLL, exp_value);
    SetText(EXP_FIELD, std::to_string(exp_value));
    show_controls();
}

void TZRDialog::show_self_guiding()
{
    if (selfguiding) {
        SetCheck(SELF_GUIDE, 1);
        SetText(GUIDE_VALUE, std::to_string(selfguiding_exp_value));
        SetText(GUIDER_FRAMES, std::to_string(darkframes));
        SetText(GUIDE_RANGE, range_word(selfguiding_exp_range));
        SetText(GUIDE_RESOLUTION, selfguiding21 == 1 ? "High Resolution  - Fast"
                                  : selfguidinghigh == 1 ? "High Resolution  - Interlaced"
                                                         : "Normal Resolution");
    } else {
        SetCheck(SELF_GUIDE, 0);
        SetText(GUIDE_VALUE, "");
        SetText(GUIDE_RANGE, "");
        SetText(GUIDE_RESOLUTION, "");
    }
}

// Brings every control up to date with the variables (the paint of the dialog).
void TZRDialog::show_controls()
{
    SetScrollRange(EXP_SCROLL, 0, max_exp);
    SetScrollRange(IMAGES_SCROLL, 0, 99);
    SetScrollRange(DELAY_SCROLL, 0, 20);
    SetScrollRange(STRETCH_SCROLL, 10, 16);
    SetScrollPos(STRETCH_SCROLL, focus_stretch);
    SetScrollPos(EXP_SCROLL, exp_value);
    SetScrollPos(IMAGES_SCROLL, no_images);
    SetScrollPos(DELAY_SCROLL, continuous_delay);
    SetText(DELAY_FIELD, std::to_string(continuous_delay));
    SetText(LAST_FILE, std::to_string(auto_save_num));
    SetText(EXP_FIELD, std::to_string(exp_value));
    SetText(IMAGES_FIELD, std::to_string(no_images));
    SetText(STRETCH_FIELD, std::to_string(focus_stretch));
    SetText(MAX_VALUE, std::to_string(max_value));
    SetText(DARK_NAME, DarkFileName);
    SetText(FLAT_NAME, FlatFileName);
    SetText(DIRECTORY, auto_save_subdir);
    const int range_button = exp_range == 'q' ? RANGE_Q : exp_range == 'h' ? RANGE_H
                           : exp_range == 't' ? RANGE_T : exp_range == 's' ? RANGE_S : RANGE_M;
    SetCheck(range_button, 1);
    const int mode_button = binned21 ? MODE_FAST : highres_intl ? MODE_PROGRESSIVE
                          : highres_nonintl ? MODE_INTERLACED : MODE_BINNED;
    SetCheck(mode_button, 1);
    SetCheck(AVERAGE, slew_sum_average);
    SetCheck(SLEW_ALT, slew_sum_alt);
    SetCheck(EXPOSURE_DELAY, exposure_delay);
    SetCheck(CONTINUOUS, continuous);
    SetCheck(AUTO_SAVE, auto_save_fits);
    SetCheck(AUTO_DARK, darkframe_remove);
    SetCheck(AUTO_FLAT, flatfield_remove);
    SetCheck(AUTO_EXPOSURE, auto_exposure);
    SetCheck(FOCUS_WAIT, focus_wait);
    SetCheck(MAX_STRETCH, max_stretch);
    SetCheck(SELF_GUIDE_DARK, selfguiding_darkframe);
    show_self_guiding();
}

void TZRDialog::Paint(Painter& painter)
{
    if (focussed) {
        const auto bytes = services().files->read(services().paths->native(FOCUS_BMP));
        if (bytes)
            if (auto bmp = read_bmp(*bytes))
                painter.draw_bitmap(*bmp, FOCUS_X, FOCUS_Y);
    }
    show_controls();
}

void TZRDialog::ShowValues()
{
    SetScrollRange(EXP_SCROLL, 0, max_exp);
    SetText(EXP_FIELD, std::to_string(exp_value));
    SetText(DELAY_FIELD, std::to_string(continuous_delay));
    SetText(IMAGES_FIELD, std::to_string(no_images));
    SetText(MAX_VALUE, std::to_string(max_value));
    show_controls();
    Invalidate();
}

void TZRDialog::set_range(char range, int maximum, int value)
{
    exp_range = range;
    max_exp = maximum;
    exp_value = value;
    ShowValues();
}

void TZRDialog::SetThousandths() { set_range('q', 1000, 5); }
void TZRDialog::SetHundredths() { set_range('h', 500, 5); }
void TZRDialog::SetTenths() { set_range('t', 100, 1); }
void TZRDialog::SetSeconds() { set_range('s', 300, 1); }
void TZRDialog::SetMinutes() { set_range('m', 90, 1); }

void TZRDialog::SetContinuous() { continuous = !continuous; ShowValues(); }
void TZRDialog::SetDelay() { exposure_delay = !exposure_delay; ShowValues(); }
void TZRDialog::SetAverage() { slew_sum_average = !slew_sum_average; ShowValues(); }
void TZRDialog::SetSlewAlt() { slew_sum_alt = !slew_sum_alt; ShowValues(); }

void TZRDialog::set_mode(int& flag)
{
    binned = binned21 = highres_intl = highres_nonintl = 0;
    flag = 1;
    disarm_self_guiding();
    ShowValues();
}

void TZRDialog::SetNormal() { set_mode(binned); }
void TZRDialog::SetBinned21() { set_mode(binned21); }
void TZRDialog::SetHighResIntl() { set_mode(highres_intl); }
void TZRDialog::SetHighResNonIntl() { set_mode(highres_nonintl); }

void TZRDialog::Stop() { stopit = 1; }

void TZRDialog::SetAutoExp() { auto_exposure = !auto_exposure; ShowValues(); }
void TZRDialog::SetFocusWait() { focus_wait = !focus_wait; ShowValues(); }
void TZRDialog::SetMaxStretch() { max_stretch = !max_stretch; ShowValues(); }
void TZRDialog::SetAutoSave() { auto_save_fits = !auto_save_fits; ShowValues(); }
void TZRDialog::SetDark() { darkframe_remove = !darkframe_remove; ShowValues(); }
void TZRDialog::SetFlat() { flatfield_remove = !flatfield_remove; ShowValues(); }

bool TZRDialog::control_box_present()
{
    if (!gotcontrolbox && camera_hooks.find_control_box)
        camera_hooks.find_control_box();
    if (!gotcontrolbox) {
        messages(52);
        return false;
    }
    return true;
}

void TZRDialog::SetSelfGuiding()
{
    if (!control_box_present()) {
        show_controls();
        return;
    }
    if (selfguiding) {
        disarm_self_guiding();
    } else if (!guide_exposure_accepted()) {
        services().desktop->beep();
    } else {
        selfguiding = 1;
        selfguiding_exp_range = exp_range;
        selfguiding_exp_value = exp_value;
        if (highres_intl) {
            highres_intl = 0;
            highres_nonintl = 1;
            services().desktop->beep();
        }
        set_self_guiding_variant();
    }
    ShowValues();
}

void TZRDialog::SetSelfGuidingDarkframe()
{
    if (!control_box_present()) {
        show_controls();
        return;
    }
    selfguiding_darkframe = !selfguiding_darkframe;
    if (selfguiding_darkframe) {
        darkframes = selfguidingframes;
        selfguiding = 1;
        set_self_guiding_variant();
    } else {
        selfguiding = 0;
    }
    ShowValues();
}

void TZRDialog::Dialog7Help()
{
    services().boxes->show("Skyvane - Control QV Camera", HELP_TEXT, BoxButtons::Ok, BoxIcon::None);
}

void TZRDialog::DecrementExp() { if (exp_value > min_exp) --exp_value; ShowValues(); }
void TZRDialog::IncrementExp() { if (exp_value < max_exp) ++exp_value; ShowValues(); }
void TZRDialog::DecrementImg() { if (no_images > 1) --no_images; ShowValues(); }
void TZRDialog::IncrementImg() { if (no_images < 99) ++no_images; ShowValues(); }
void TZRDialog::DecrementDelay() { if (continuous_delay > 0) --continuous_delay; ShowValues(); }
void TZRDialog::IncrementDelay() { if (continuous_delay < 20) ++continuous_delay; ShowValues(); }

void TZRDialog::EvVScroll(ScrollCode code, int pos)
{
    switch (code) {
    case ScrollCode::LineUp: if (focus_stretch > 10) --focus_stretch; break;
    case ScrollCode::LineDown: if (focus_stretch < 16) ++focus_stretch; break;
    case ScrollCode::PageUp: focus_stretch = 10; break;
    case ScrollCode::PageDown: focus_stretch = 16; break;
    case ScrollCode::ThumbTrack:
    case ScrollCode::ThumbPosition:
        if (pos >= 10 && pos <= 16) focus_stretch = pos;
        break;
    default: break;
    }
    ShowValues();
}
