#include "ini_dialog.h"

#include <functional>
#include <utility>

#include "app/core/messages.h"
#include "c_numbers.h"
#include "platform/main_frame.h"
#include "platform/services.h"
#include "settings_file.h"
#include "settings_values.h"
#include "store/flags.h"

int Show_Interface_Details = 0;

namespace {
enum {
    ID_SWAP_NS = 17102, ID_SWAP_EW = 17103, ID_APPLY_CORRECTION = 17104, ID_DEBUG = 17105,
    ID_TRAIN_1 = 17106, ID_TRAIN_2 = 17107, ID_TRAIN_4 = 17108, ID_LOSMANDY = 17110,
    ID_FOCUS_DELAY = 17111, ID_COM1 = 17112, ID_COM2 = 17113, ID_BACKLASH_RA = 17114,
    ID_BACKLASH_DEC = 17115, ID_RATE_RA = 17116, ID_RATE_DEC = 17117, ID_SET_MANUALLY = 17118,
    ID_BACK_RED = 17120, ID_BACK_LIGHT = 17121, ID_BACK_DARK = 17122, ID_LX200 = 17127,
    ID_CONTROL_BOX = 17128, ID_NO_TELESCOPE = 17129, ID_MASK_7 = 17130, ID_HYST_RA = 17136,
    ID_HYST_DEC = 17137, ID_IGNORE_SMALL = 17138, ID_DISABLE_INTERRUPTS = 17139,
    ID_SUBDIR = 17147, ID_SET_DIRECTORY = 17148,
};

constexpr int MASKS[6] = {7, 8, 9, 11, 13, 15};
const char* const MASK_LABELS[6] = {"7 Pixels", "8 Pixels", "9 Pixels", "11 Pixels", "13 Pixels", "15 Pixels"};

std::vector<ControlSpec> ini_controls()
{
    std::vector<ControlSpec> c;
    auto label = [&](const char* text, int x, int y, int w = 200) { c.push_back({-1, ControlKind::Static, text, x, y, w, 18}); };
    auto radio = [&](int id, const char* text, int x, int y, int group, int width = 150) {
        c.push_back({id, ControlKind::RadioButton, text, x, y, width, 20, group});
    };
    auto check = [&](int id, const char* text, int x, int y) { c.push_back({id, ControlKind::CheckBox, text, x, y, 200, 20}); };
    auto edit = [&](int id, const char* text, int x, int y) {
        label(text, x, y + 3, 170);
        c.push_back({id, ControlKind::Edit, "", x + 175, y, 50, 22});
    };
    // Left column: camera and window.
    label("Normal Camera Operation", 10, 8, 250);
    label("Radius of Guide Star Mask", 10, 30);
    for (int k = 0; k < 6; ++k)
        radio(ID_MASK_7 + k, MASK_LABELS[k], 20 + (k % 2) * 110, 52 + (k / 2) * 22, 1, 100);
    label("Background Image Area", 10, 124);
    radio(ID_BACK_RED, "Red", 20, 146, 2);
    radio(ID_BACK_LIGHT, "Lt Gray", 20, 168, 2);
    radio(ID_BACK_DARK, "Dark Gray", 20, 190, 2);
    check(ID_FOCUS_DELAY, "1 Sec Delay in Focus Mode", 10, 220);
    label("Disable Interrupts", 10, 246);
    check(ID_DISABLE_INTERRUPTS, "during Download", 20, 266);
    label("Apply correction to", 10, 292);
    check(ID_APPLY_CORRECTION, "HighRes Images", 20, 312);
    label("Autosave Sub-Directory", 10, 342);
    c.push_back({ID_SUBDIR, ControlKind::Edit, "", 20, 364, 200, 22});
    c.push_back({ID_SET_DIRECTORY, ControlKind::Button, "Set Directory", 20, 392, 110, 26});
    // Right column: telescope and guiding.
    label("Telescope Guiding Parameters", 280, 8, 250);
    radio(ID_LX200, "Meade LX200 (Tm)", 290, 30, 3);
    radio(ID_CONTROL_BOX, "Control Box", 290, 52, 3);
    radio(ID_NO_TELESCOPE, "None", 290, 74, 3);
    label("Select Com Port", 280, 100);
    radio(ID_COM1, "Com 1", 290, 122, 4, 100);
    radio(ID_COM2, "Com 2", 400, 122, 4, 100);
    label("Guide Training time", 280, 148);
    radio(ID_TRAIN_1, "1 Sec", 290, 170, 5, 65);
    radio(ID_TRAIN_2, "2 Sec", 360, 170, 5, 65);
    radio(ID_TRAIN_4, "4 Sec", 430, 170, 5, 65);
    edit(ID_RATE_RA, "Pixels per sec in RA", 280, 198);
    edit(ID_RATE_DEC, "Pixels per sec in Dec", 280, 224);
    edit(ID_BACKLASH_RA, "RA Backlash", 280, 250);
    edit(ID_BACKLASH_DEC, "Dec Backlash", 280, 276);
    edit(ID_HYST_RA, "Hysteresis in RA (0-20)", 280, 302);
    edit(ID_HYST_DEC, "Hysteresis in Dec (0-20)", 280, 328);
    c.push_back({ID_SET_MANUALLY, ControlKind::Button, "Set Manually", 280, 356, 110, 26});
    check(ID_IGNORE_SMALL, "Ignore drift < 1 pixel", 280, 388);
    label("70ms delay when changing", 280, 414);
    check(ID_LOSMANDY, "correction direction", 290, 434);
    label("Miscellaneous", 10, 430, 200);
    check(ID_DEBUG, "Debug Info Mode", 20, 452);
    check(ID_SWAP_NS, "Swap n/s direction", 280, 462);
    check(ID_SWAP_EW, "Swap e/w direction", 280, 484);
    c.push_back({IDOK, ControlKind::DefaultButton, "Save Changes", 120, 520, 110, 28});
    c.push_back({IDCANCEL, ControlKind::Button, "Cancel", 300, 520, 110, 28});
    return c;
}
}

TINIDialog::TINIDialog() : Dialog(RESOURCE, "Set Program Defaults", 540, 560, ini_controls())
{
    for (int k = 0; k < 6; ++k) {
        const int mask = MASKS[k];
        on_click(ID_MASK_7 + k, [this, mask] { ReadNumbers(); star_mask = mask; ShowValues(); });
    }
    const std::pair<int, char> backs[] = {{ID_BACK_RED, 'r'}, {ID_BACK_LIGHT, 'l'}, {ID_BACK_DARK, 'g'}};
    for (auto [id, letter] : backs)
        on_click(id, [this, letter] {
            ReadNumbers();
            default_back = letter;
            set_background_colour();
            back_changed = 1;
            ShowValues();
        });
    const std::pair<int, char> scopes[] = {{ID_LX200, 'l'}, {ID_CONTROL_BOX, 'b'}, {ID_NO_TELESCOPE, 'n'}};
    for (auto [id, letter] : scopes)
        on_click(id, [this, letter] { ReadNumbers(); telescope = letter; ShowValues(); });
    on_click(ID_COM1, [this] { ReadNumbers(); slewcom = '1'; ShowValues(); });
    on_click(ID_COM2, [this] { ReadNumbers(); slewcom = '2'; ShowValues(); });
    const std::pair<int, int> trains[] = {{ID_TRAIN_1, 1}, {ID_TRAIN_2, 2}, {ID_TRAIN_4, 4}};
    for (auto [id, seconds] : trains)
        on_click(id, [this, seconds] { ReadNumbers(); slewdefault = seconds; ShowValues(); });
    on_click(ID_SET_MANUALLY, [this] { ReadNumbers(); ShowValues(); });
    const std::pair<int, int*> toggles[] = {{ID_IGNORE_SMALL, &ignore_small}, {ID_LOSMANDY, &Losmandy_pause},
                                            {ID_FOCUS_DELAY, &focus_delay}, {ID_DISABLE_INTERRUPTS, &disable_interrupts},
                                            {ID_APPLY_CORRECTION, &apply_correction}};
    for (auto [id, flag] : toggles)
        on_click(id, [this, flag] { ReadNumbers(); *flag = *flag ? 0 : 1; ShowValues(); });
    on_click(ID_DEBUG, [this] {
        Debug_Mode = Debug_Mode ? 0 : 1;
        Show_Interface_Details = Debug_Mode;
        ShowValues();
    });
    on_click(ID_SWAP_NS, [this] { ReadNumbers(); std::swap(n, s); ShowValues(); });
    on_click(ID_SWAP_EW, [this] { ReadNumbers(); std::swap(e, w); ShowValues(); });
    on_click(ID_SET_DIRECTORY, [this] { ReadNumbers(); SetDirectory(); ShowValues(); });
}

void TINIDialog::SetupWindow()
{
    ShowValues();
}

void TINIDialog::Paint(Painter&)
{
    ShowValues();
}

void TINIDialog::ShowValues()
{
    int mask_index = 5;
    for (int k = 0; k < 6; ++k)
        if (star_mask == MASKS[k])
            mask_index = k;
    SetCheck(ID_MASK_7 + mask_index, 1);
    SetCheck(default_back == 'r' ? ID_BACK_RED : default_back == 'l' ? ID_BACK_LIGHT : ID_BACK_DARK, 1);
    SetCheck(telescope == 'l' ? ID_LX200 : telescope == 'b' ? ID_CONTROL_BOX : ID_NO_TELESCOPE, 1);
    SetCheck(slewcom == '1' ? ID_COM1 : ID_COM2, 1);
    SetCheck(slewdefault == 1 ? ID_TRAIN_1 : slewdefault == 2 ? ID_TRAIN_2 : ID_TRAIN_4, 1);
    SetText(ID_RATE_RA, std::to_string(slewx));
    SetText(ID_RATE_DEC, std::to_string(slewy));
    SetText(ID_BACKLASH_RA, std::to_string(backlashx));
    SetText(ID_BACKLASH_DEC, std::to_string(backlashy));
    SetText(ID_HYST_RA, std::to_string(hystx));
    SetText(ID_HYST_DEC, std::to_string(hysty));
    SetCheck(ID_IGNORE_SMALL, ignore_small ? 1 : 0);
    SetCheck(ID_LOSMANDY, Losmandy_pause ? 1 : 0);
    SetCheck(ID_FOCUS_DELAY, focus_delay ? 1 : 0);
    SetCheck(ID_DISABLE_INTERRUPTS, disable_interrupts ? 1 : 0);
    SetCheck(ID_APPLY_CORRECTION, apply_correction ? 1 : 0);
    SetCheck(ID_DEBUG, Debug_Mode ? 1 : 0);
    SetCheck(ID_SWAP_NS, n == 's' ? 1 : 0);
    SetCheck(ID_SWAP_EW, e == 'w' ? 1 : 0);
    SetText(ID_SUBDIR, auto_save_subdir);
}

void TINIDialog::ReadNumbers()
{
    slewx = clamp_rate(read_signed_field(GetText(ID_RATE_RA)));
    slewy = clamp_rate(read_signed_field(GetText(ID_RATE_DEC)));
    backlashx = clamp_backlash(read_signed_field(GetText(ID_BACKLASH_RA)));
    backlashy = clamp_backlash(read_signed_field(GetText(ID_BACKLASH_DEC)));
    hystx = clamp_backlash(read_signed_field(GetText(ID_HYST_RA)));
    hysty = clamp_backlash(read_signed_field(GetText(ID_HYST_DEC)));
}

void TINIDialog::SetDirectory()
{
    const std::string text = GetText(ID_SUBDIR).substr(0, 79);
    auto_save_subdir = text;
    set_auto_save_dir();
}

void CmINI()
{
    if (LoadINIFile(INI_FILE) != 0) {
        messages(20);
        SaveINIFile(INI_FILE);
    }
    TINIDialog dialog;
    if (dialog.Execute() == IDOK && SaveINIFile(INI_FILE) != 0)
        messages(24);
    if (MainFrame* frame = services().frame) {
        frame->set_telescope_button(telescope != 'n');
        frame->invalidate();
    }
}
