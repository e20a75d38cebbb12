#include "telescope_dialogs.h"

#include <cctype>
#include <climits>
#include <cstdlib>

#include "app/core/messages.h"
#include "files/settings_values.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "telescope_protocol.h"

int set_Messier, set_CNGC, set_RAhr, set_RAmin, set_Decdeg, set_Decmin;
char retchar;
TMTDialog* mt_dialog = nullptr;
TCBDialog* cb_dialog = nullptr;

namespace {
constexpr const char* CONTROL_CAPTION = "Skyvane - Control Telescope";

void box(const std::string& text)
{
    services().boxes->show(CONTROL_CAPTION, text, BoxButtons::Ok, BoxIcon::Information);
}

// A number field read as a signed integer: an empty field, or one that is not a number, reads 0.
int read_number(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    size_t end = text.size();
    while (end > i && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    const std::string t = text.substr(i, end - i);
    if (t.empty())
        return 0;
    char* stop = nullptr;
    const long v = std::strtol(t.c_str(), &stop, 10);
    if (*stop != '\0' || v > INT_MAX || v < INT_MIN)
        return 0;
    return static_cast<int>(v);
}

// The arrow bars run from -1 to 1 with the thumb resting at 0. What a notification means: an
// arrow pressed towards the top or left, towards the bottom or right, or released. The line
// notifications are the arrows' own; a press reports the position the arrow asks for (-1 or 1),
// and the end-of-scroll notification or a release ends the move.
enum class Arrow { None, UpLeft, DownRight, Released };
constexpr int ARROW_CENTRE = 0;

Arrow arrow_of(ScrollCode code, int pos)
{
    const int centre = ARROW_CENTRE;
    switch (code) {
    case ScrollCode::LineUp: return Arrow::UpLeft;
    case ScrollCode::LineDown: return Arrow::DownRight;
    case ScrollCode::Press: return pos < centre ? Arrow::UpLeft : pos > centre ? Arrow::DownRight : Arrow::None;
    case ScrollCode::EndScroll:
    case ScrollCode::Release: return Arrow::Released;
    default: return Arrow::None;
    }
}

void start_lx200_move(char letter)
{
    if (tele_moving)
        return;
    move_direction = std::string("#:M") + letter + "#";
    start_move();
    tele_moving = 1;
}

void end_lx200_move()
{
    if (!tele_moving)
        return;
    stop_move();
    tele_moving = 0;
}

void start_box_move(char letter)
{
    if (tele_moving)
        return;
    slewdir = letter;
    CB_start_move();
    tele_moving = 1;
}

void end_box_move()
{
    if (!tele_moving)
        return;
    CB_stop_move();
    tele_moving = 0;
}
}

TMTDialog::TMTDialog()
    : Dialog(RESOURCE, "SKYVANE Move Telescope", 470, 360, {
          {-1, ControlKind::GroupBox, "GoTo", 8, 6, 220, 112},
          {-1, ControlKind::Static, "Messier Object", 16, 26, 110, 18},
          {FIELD_MESSIER, ControlKind::Edit, "0", 130, 24, 60, 20},
          {-1, ControlKind::Static, "CNGC Object", 16, 52, 110, 18},
          {FIELD_CNGC, ControlKind::Edit, "0", 130, 50, 60, 20},
          {BUTTON_GOTO, ControlKind::Button, "GoTo Object", 60, 80, 110, 26},
          {-1, ControlKind::GroupBox, "Planets", 236, 6, 226, 112},
          {104, ControlKind::Button, "Mercury", 244, 24, 70, 22},
          {105, ControlKind::Button, "Venus", 318, 24, 70, 22},
          {106, ControlKind::Button, "Mars", 392, 24, 64, 22},
          {107, ControlKind::Button, "Jupiter", 244, 52, 70, 22},
          {108, ControlKind::Button, "Saturn", 318, 52, 70, 22},
          {109, ControlKind::Button, "Uranus", 392, 52, 64, 22},
          {110, ControlKind::Button, "Neptune", 244, 80, 70, 22},
          {111, ControlKind::Button, "Pluto", 318, 80, 70, 22},
          {-1, ControlKind::GroupBox, "Co-ordinates", 8, 124, 220, 92},
          {-1, ControlKind::Static, "R.A.", 16, 146, 40, 18},
          {FIELD_RA_HR, ControlKind::Edit, "0", 60, 144, 40, 20},
          {-1, ControlKind::Static, "hrs", 104, 146, 30, 18},
          {FIELD_RA_MIN, ControlKind::Edit, "0", 136, 144, 40, 20},
          {-1, ControlKind::Static, "mins", 180, 146, 40, 18},
          {-1, ControlKind::Static, "Dec.", 16, 172, 40, 18},
          {FIELD_DEC_DEG, ControlKind::Edit, "0", 60, 170, 40, 20},
          {-1, ControlKind::Static, "Deg", 104, 172, 30, 18},
          {FIELD_DEC_MIN, ControlKind::Edit, "0", 136, 170, 40, 20},
          {-1, ControlKind::Static, "mins", 180, 172, 40, 18},
          {BUTTON_GOTO_COORD, ControlKind::Button, "Go To ", 136, 192, 80, 22},
          {-1, ControlKind::Static, "Info from Scope", 236, 124, 160, 18},
          {TEXT_INFO, ControlKind::MultiLineEdit, "", 236, 144, 226, 72},
          {-1, ControlKind::GroupBox, "Move", 8, 222, 300, 100},
          {SCROLL_EW, ControlKind::HScroll, "", 16, 262, 120, 20},
          {SCROLL_NS, ControlKind::VScroll, "", 144, 236, 20, 76},
          {RADIO_SLEW, ControlKind::RadioButton, "Slew", 176, 236, 70, 18, 1},
          {RADIO_FIND, ControlKind::RadioButton, "Find", 176, 256, 70, 18, 1},
          {RADIO_CENTRE, ControlKind::RadioButton, "Centre", 176, 276, 70, 18, 1},
          {RADIO_GUIDE, ControlKind::RadioButton, "Guide", 176, 296, 70, 18, 1},
          {-1, ControlKind::GroupBox, "Focus", 316, 222, 146, 100},
          {SCROLL_FOCUS, ControlKind::VScroll, "", 326, 236, 20, 76},
          {RADIO_FAST, ControlKind::RadioButton, "fast", 356, 256, 60, 18, 2},
          {RADIO_SLOW, ControlKind::RadioButton, "slow", 356, 280, 60, 18, 2},
          {BUTTON_HELP, ControlKind::Button, "Help", 300, 328, 70, 26},
          {IDCANCEL, ControlKind::Button, "Finished", 384, 328, 78, 26},
      })
{
    on_click(BUTTON_GOTO, [this] { MoveTelescope(); });
    const short planets[] = {901, 902, 904, 905, 906, 907, 908, 909};
    for (int i = 0; i < 8; ++i) {
        const short number = planets[i];
        on_click(BUTTON_MERCURY + i, [this, number] { MovePlanet(number); });
    }
    on_click(BUTTON_GOTO_COORD, [this] { MoveToCoord(); });
    on_click(RADIO_SLEW, [this] { MoveSlew(); });
    on_click(RADIO_FIND, [this] { MoveFind(); });
    on_click(RADIO_CENTRE, [this] { MoveCentre(); });
    on_click(RADIO_GUIDE, [this] { MoveGuide(); });
    on_click(RADIO_FAST, [this] { FocusFast(); });
    on_click(RADIO_SLOW, [this] { FocusSlow(); });
    on_click(BUTTON_HELP, [this] { Dialog18Help(); });
    on_scroll(SCROLL_EW, [this](ScrollCode c, int pos) { EvHScroll(c, pos); });
    on_scroll(SCROLL_NS, [this](ScrollCode c, int pos) { EvVScroll(c, pos); });
    on_scroll(SCROLL_FOCUS, [this](ScrollCode c, int pos) { EvFocusScroll(c, pos); });
}

void TMTDialog::SetupWindow()
{
    // The bars only carry their arrows: the thumb rests in the middle.
    for (int id : {SCROLL_EW, SCROLL_NS, SCROLL_FOCUS}) {
        SetScrollRange(id, -1, 1, 1);
        SetScrollPos(id, ARROW_CENTRE);
    }
    EvPaint();
}

void TMTDialog::Paint(Painter&)
{
    EvPaint();
}

void TMTDialog::Destroyed()
{
    // A move or focus run still going when the window closes is stopped first.
    if (tele_moving)
        end_lx200_move();
    if (tele_focussing)
        stop_focus();
    if (mt_dialog == this)
        mt_dialog = nullptr;
    delete this;
}

void TMTDialog::EvPaint()
{
    SetText(TEXT_INFO, move_error);
    const char speed = tele_speed.size() > 3 ? tele_speed[3] : 0;
    SetCheck(speed == 'S' ? RADIO_SLEW : speed == 'M' ? RADIO_FIND : speed == 'C' ? RADIO_CENTRE : RADIO_GUIDE, 1);
    const char focus = focus_speed.size() > 3 ? focus_speed[3] : 0;
    SetCheck(focus == 'F' ? RADIO_FAST : RADIO_SLOW, 1);
}

void TMTDialog::MoveTelescope()
{
    set_Messier = read_number(GetText(FIELD_MESSIER));
    set_CNGC = read_number(GetText(FIELD_CNGC));
    retchar = '0';
    if (set_Messier >= 1 && set_Messier <= 110)
        retchar = move_telescope('m', static_cast<short>(set_Messier));
    else if (set_CNGC >= 1 && set_CNGC <= 7815)
        retchar = move_telescope('c', static_cast<short>(set_CNGC));
    else
        box("Object out of range - try again");
    EvPaint();
}

void TMTDialog::MovePlanet(short number)
{
    retchar = '0';
    retchar = move_telescope('s', number);
    EvPaint();
}

void TMTDialog::MoveToCoord()
{
    set_RAhr = read_number(GetText(FIELD_RA_HR));
    set_RAmin = read_number(GetText(FIELD_RA_MIN));
    set_Decdeg = read_number(GetText(FIELD_DEC_DEG));
    set_Decmin = read_number(GetText(FIELD_DEC_MIN));
    retchar = '0';
    if (set_RAhr >= 0 && set_RAhr <= 23 && set_RAmin >= 0 && set_RAmin <= 59 && set_Decdeg >= -89 &&
        set_Decdeg <= 89 && set_Decmin >= 0 && set_Decmin <= 59)
        retchar = move_to_coord(static_cast<short>(set_RAhr), static_cast<short>(set_RAmin),
                                static_cast<short>(set_Decdeg), static_cast<short>(set_Decmin));
    else
        box("Invalid Co-ordinates set.\n\nRange is R.A. 0hr 00min, to 23hr 59mins\n"
            "        Dec  -89deg 00min, to +89deg 59mins");
    EvPaint();
}

void TMTDialog::MoveSlew() { tele_speed = "#:RS#"; EvPaint(); }
void TMTDialog::MoveFind() { tele_speed = "#:RM#"; EvPaint(); }
void TMTDialog::MoveCentre() { tele_speed = "#:RC#"; EvPaint(); }
void TMTDialog::MoveGuide() { tele_speed = "#:RG#"; EvPaint(); }
void TMTDialog::FocusFast() { focus_speed = "#:FF#"; EvPaint(); }
void TMTDialog::FocusSlow() { focus_speed = "#:FS#"; EvPaint(); }

void TMTDialog::EvHScroll(ScrollCode code, int pos)
{
    SetScrollPos(SCROLL_EW, ARROW_CENTRE);
    switch (arrow_of(code, pos)) {
    case Arrow::UpLeft: start_lx200_move(::w); break;
    case Arrow::DownRight: start_lx200_move(::e); break;
    case Arrow::Released: end_lx200_move(); break;
    case Arrow::None: break;
    }
    EvPaint();
}

void TMTDialog::EvVScroll(ScrollCode code, int pos)
{
    SetScrollPos(SCROLL_NS, ARROW_CENTRE);
    switch (arrow_of(code, pos)) {
    case Arrow::UpLeft: start_lx200_move(::n); break;
    case Arrow::DownRight: start_lx200_move(::s); break;
    case Arrow::Released: end_lx200_move(); break;
    case Arrow::None: break;
    }
    EvPaint();
}

void TMTDialog::EvFocusScroll(ScrollCode code, int pos)
{
    SetScrollPos(SCROLL_FOCUS, ARROW_CENTRE);
    const Arrow arrow = arrow_of(code, pos);
    if ((arrow == Arrow::UpLeft || arrow == Arrow::DownRight) && !tele_focussing) {
        focus_direction = arrow == Arrow::UpLeft ? "#:F+#" : "#:F-#";
        start_focus();
        tele_focussing = 1;
    } else if (arrow == Arrow::Released && tele_focussing) {
        stop_focus();
        tele_focussing = 0;
    }
    EvPaint();
}

void TMTDialog::Dialog18Help()
{
    box("Enter a Messier or CNGC number and press the GoTo Object button.\n\nIf you enter both numbers the "
        "Messier will be favoured. To use CGNC numbers ensure the Messier number is 0");
}

TCBDialog::TCBDialog()
    : Dialog(RESOURCE, "Move Telescope", 220, 170, {
          {-1, ControlKind::Static, "Left", 10, 52, 40, 18},
          {SCROLL_LEFT_RIGHT, ControlKind::HScroll, "", 50, 50, 80, 20},
          {-1, ControlKind::Static, "Right", 134, 52, 40, 18},
          {-1, ControlKind::Static, "Up", 180, 8, 30, 18},
          {SCROLL_UP_DOWN, ControlKind::VScroll, "", 184, 28, 20, 70},
          {-1, ControlKind::Static, "Down", 176, 100, 40, 18},
          {IDCANCEL, ControlKind::Button, "Finished", 70, 130, 80, 26},
      })
{
    on_scroll(SCROLL_LEFT_RIGHT, [this](ScrollCode c, int pos) { EvHScroll(c, pos); });
    on_scroll(SCROLL_UP_DOWN, [this](ScrollCode c, int pos) { EvVScroll(c, pos); });
}

void TCBDialog::SetupWindow()
{
    for (int id : {SCROLL_LEFT_RIGHT, SCROLL_UP_DOWN}) {
        SetScrollRange(id, -1, 1, 1);
        SetScrollPos(id, ARROW_CENTRE);
    }
}

void TCBDialog::Destroyed()
{
    if (tele_moving)
        end_box_move();
    if (cb_dialog == this)
        cb_dialog = nullptr;
    delete this;
}

void TCBDialog::EvHScroll(ScrollCode code, int pos)
{
    SetScrollPos(SCROLL_LEFT_RIGHT, ARROW_CENTRE);
    switch (arrow_of(code, pos)) {
    case Arrow::UpLeft: start_box_move(::w); break;
    case Arrow::DownRight: start_box_move(::e); break;
    case Arrow::Released: end_box_move(); break;
    case Arrow::None: break;
    }
}

void TCBDialog::EvVScroll(ScrollCode code, int pos)
{
    SetScrollPos(SCROLL_UP_DOWN, ARROW_CENTRE);
    switch (arrow_of(code, pos)) {
    case Arrow::UpLeft: start_box_move(::n); break;
    case Arrow::DownRight: start_box_move(::s); break;
    case Arrow::Released: end_box_move(); break;
    case Arrow::None: break;
    }
}

void CmControl()
{
    if (mt_dialog || cb_dialog)
        return;   // one telescope window at a time: two would share the move flags
    if (!comfound) {
        load_settings_for_port(23);
        if (telescope != 'b') {
            if (!drive_check()) {
                telescope = 'n';
                messages(36);
                return;
            }
            comfound = 1;
        } else {
            interface_check();
        }
    }
    if (telescope == 'b') {
        interface_CR();
        cb_dialog = new TCBDialog;
        cb_dialog->Create();
    } else {
        mt_dialog = new TMTDialog;
        mt_dialog->Create();
    }
}

void reset_telescope_dialogs()
{
    // Windows of an earlier run in the same process are gone with their backend.
    mt_dialog = nullptr;
    cb_dialog = nullptr;
    set_Messier = set_CNGC = set_RAhr = set_RAmin = set_Decdeg = set_Decmin = 0;
    retchar = '0';
}
