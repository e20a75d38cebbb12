// The label burned into rows 0..9 of an image: a line of text, optionally with the date and
// time, drawn in 8 x 10 glyphs, which also marks the plane as carrying a header.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/dialog.h"

constexpr int LABEL_MAX_CHARS = 30;

extern std::string txtbuffer;     // the label text
extern int auto_date;             // append the date and time
extern int auto_FITS_date;        // take them from the FITS details instead of the clock

// The 10 rows of the glyph of code point C (bit 7 leftmost), or nothing for a character the
// table does not have.
std::optional<std::array<uint8_t, 10>> label_glyph(char32_t c);
// The date text the label appends.
std::string label_date_text();
// The label line: centring spaces, the text (at most 30 characters) and, with DATE_SWITCH, the
// date text; one code point per cell.
std::u32string label_line(int date_switch, const std::string& text);
// Draws the label into PLANE and marks it. Only the cells that fit within a row are drawn.
void do_label_image(int date_switch, const std::string& text, uint16_t* plane);

class TLabelDialog : public Dialog {
public:
    static constexpr int RESOURCE = 8;
    static constexpr int ID_AUTO_DATE = 102;
    static constexpr int ID_FITS_DATE = 103;
    static constexpr int ID_OK = 104;
    static constexpr int ID_TEXT = 4090;
    TLabelDialog();
    void SetupWindow() override;
    void Paint(Painter&) override;
private:
    void SetAutoDate();
    void SetFITSDate();
    void EndDialog();
    void show_switches();
};

void label_image();

void reset_image_label();
void register_image_label();
