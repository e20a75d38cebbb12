#include "fits_dialog.h"

#include <ctime>

#include "app/core/messages.h"
#include "c_numbers.h"
#include "fits_file.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "raw_file.h"
#include "settings_file.h"
#include "settings_values.h"

namespace {
enum {
    ID_OBJECT = 101, ID_OBSERVER = 102, ID_DATE = 103, ID_TELESCOPE = 104, ID_INSTRUMENT = 105,
    ID_COMMENTS = 106, ID_HISTORY = 107, ID_EIGHTBIT = 108, ID_ORIGIN = 109, ID_TIME = 110,
    ID_HOURS = 111, ID_HOURS_SHOWN = 112, ID_FOCAL = 113, ID_APERTURE = 114, ID_FILTER = 115,
    ID_EXPOSURE = 116, ID_SBIG = 117,
};

std::vector<ControlSpec> fits_controls()
{
    std::vector<ControlSpec> c;
    int y = 10;
    auto row = [&](const char* label, int id, int width = 300) {
        c.push_back({-1, ControlKind::Static, label, 10, y + 3, 150, 18});
        c.push_back({id, ControlKind::Edit, "", 165, y, width, 22});
        y += 28;
    };
    row("Object:", ID_OBJECT);
    row("Observer:", ID_OBSERVER);
    row("Origin:", ID_ORIGIN);
    row("Telescope:", ID_TELESCOPE);
    row("Instrumentation:", ID_INSTRUMENT);
    row("Focal Len (ins):", ID_FOCAL, 120);
    row("Aperture (Sq. ins):", ID_APERTURE, 120);
    row("Filter:", ID_FILTER);
    row("Exposure (secs):", ID_EXPOSURE, 120);
    row("Date:", ID_DATE, 120);
    row("Time:", ID_TIME, 120);
    c.push_back({-1, ControlKind::Static, "History:", 10, y + 3, 150, 18});
    c.push_back({ID_HISTORY, ControlKind::MultiLineEdit, "", 165, y, 300, 60});
    y += 68;
    c.push_back({-1, ControlKind::Static, "Comments:", 10, y + 3, 150, 18});
    c.push_back({ID_COMMENTS, ControlKind::MultiLineEdit, "", 165, y, 300, 60});
    y += 68;
    c.push_back({-1, ControlKind::Static, "Time Difference to UT in Hrs:", 10, y + 3, 200, 18});
    c.push_back({ID_HOURS, ControlKind::HScroll, "", 215, y, 150, 20});
    c.push_back({ID_HOURS_SHOWN, ControlKind::Edit, "", 375, y, 50, 22});
    y += 30;
    c.push_back({ID_EIGHTBIT, ControlKind::CheckBox, "8 bit integer (16 bit default)", 10, y, 250, 20});
    c.push_back({ID_SBIG, ControlKind::CheckBox, "Unsigned Integer Format", 265, y, 200, 20});
    y += 32;
    c.push_back({IDOK, ControlKind::DefaultButton, "Continue", 120, y, 90, 26});
    c.push_back({IDCANCEL, ControlKind::Button, "Abort", 260, y, 90, 26});
    return c;
}

// The text of an edit field as the dialog reads it back: at most MAX characters, line breaks of a
// multi-line field as spaces (a FITS card holds printable characters only).
std::string field_text(const std::string& text, size_t max)
{
    std::string out;
    for (size_t i = 0; i < text.size() && out.size() < max; ++i) {
        const char ch = text[i];
        if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out.push_back(static_cast<unsigned char>(ch) < 32 ? ' ' : ch);
    }
    return out;
}
}

TFITSDialog::TFITSDialog() : Dialog(RESOURCE, "FITS DETAILS", 480, 560, fits_controls())
{
    // Only the arrows step the hours; any other scroll action puts the bar back on the value.
    on_scroll(ID_HOURS, [this](ScrollCode code, int) {
        if (code == ScrollCode::LineUp)
            DecrementHr();
        else if (code == ScrollCode::LineDown)
            IncrementHr();
        else
            ShowValues();
    });
    on_click(ID_EIGHTBIT, [this] { Set8bit(); });
    on_click(ID_SBIG, [this] { SetSBIG(); });
}

void TFITSDialog::SetupWindow()
{
    SetText(ID_OBJECT, FITS_Obj);
    SetText(ID_OBSERVER, FITS_Obs);
    SetText(ID_ORIGIN, FITS_Src);
    SetText(ID_TELESCOPE, FITS_Tel);
    SetText(ID_INSTRUMENT, FITS_Ins);
    SetText(ID_FOCAL, c_format_double("%f", FITS_Focallen));
    SetText(ID_APERTURE, c_format_double("%f", FITS_Aperture));
    SetText(ID_FILTER, FITS_Filter);
    SetText(ID_EXPOSURE, c_format_double("%f", FITS_Exptime));
    SetText(ID_DATE, FITS_Date);
    SetText(ID_TIME, FITS_Time);
    SetText(ID_HISTORY, FITS_His);
    SetText(ID_COMMENTS, FITS_Com);
    time_value = (FITS_Diff >= -11 && FITS_Diff <= 11) ? FITS_Diff : 0;
    ShowValues();
}

void TFITSDialog::Paint(Painter&)
{
    ShowValues();
}

void TFITSDialog::ShowValues()
{
    SetScrollRange(ID_HOURS, -11, 11, 1);
    SetScrollPos(ID_HOURS, time_value);
    SetText(ID_HOURS_SHOWN, std::to_string(time_value));
    SetCheck(ID_EIGHTBIT, eightbit ? 1 : 0);
    SetCheck(ID_SBIG, FITS_SBIG ? 1 : 0);
}

void TFITSDialog::DecrementHr()
{
    if (time_value > -11)
        --time_value;
    ShowValues();
}

void TFITSDialog::IncrementHr()
{
    if (time_value < 11)
        ++time_value;
    ShowValues();
}

void TFITSDialog::Set8bit()
{
    eightbit = eightbit ? 0 : 1;
    ShowValues();
}

void TFITSDialog::SetSBIG()
{
    FITS_SBIG = FITS_SBIG ? 0 : 1;
    ShowValues();
}

bool TFITSDialog::CanClose()
{
    EndDialog();
    return true;
}

void TFITSDialog::EndDialog()
{
    FITS_Obj = field_text(GetText(ID_OBJECT), 67);
    FITS_Obs = field_text(GetText(ID_OBSERVER), 67);
    FITS_Src = field_text(GetText(ID_ORIGIN), 67);
    FITS_Tel = field_text(GetText(ID_TELESCOPE), 67);
    FITS_Ins = field_text(GetText(ID_INSTRUMENT), 67);
    FITS_Filter = field_text(GetText(ID_FILTER), 67);
    FITS_Date = field_text(GetText(ID_DATE), 10);
    FITS_Time = field_text(GetText(ID_TIME), 11);
    FITS_His = field_text(GetText(ID_HISTORY), 254);
    FITS_Com = field_text(GetText(ID_COMMENTS), 254);
    if (auto v = c_parse_double(field_text(GetText(ID_FOCAL), 19)))
        FITS_Focallen = *v;
    if (auto v = c_parse_double(field_text(GetText(ID_APERTURE), 19)))
        FITS_Aperture = *v;
    if (auto v = c_parse_double(field_text(GetText(ID_EXPOSURE), 19)))
        FITS_Exptime = *v;
    FITS_Diff = time_value;
}

void CmFITSSave()
{
    eightbit = 0;
    if (FITS_Date.size() < 10) {
        const std::tm today = services().clock->local_time();
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", today.tm_year + 1900, today.tm_mon + 1, today.tm_mday);
        FITS_Date = date;
    }
    TFITSDialog dialog;
    if (dialog.Execute() != IDOK)
        return;
    save_FITS = 1;
    CmFileSave();
    save_FITS = 0;
}

void CmEditFITSText()
{
    if (LoadINIFile(INI_FILE) != 0) {
        messages(42);
        SaveINIFile(INI_FILE);
    }
    eightbit = 0;
    TFITSDialog dialog;
    if (dialog.Execute() != IDOK)
        return;
    if (SaveINIFile(INI_FILE) != 0)
        messages(24);
}

void CmViewFITSText()
{
    TFITSDialog dialog;
    dialog.Execute();
}
