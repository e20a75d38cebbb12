// The telescope dialogs: "SKYVANE Move Telescope" for an LX200 mount (GoTo, planets, coordinates,
// manual slewing at four speeds, focusing) and "Move Telescope" for the control box (four arrows).
// Both are modeless; each deletes itself when it closes. Their arrows are scroll bars from -1 to 1:
// a line notification (or a Press reporting -1 or 1) starts a move, the end-of-scroll notification
// (or a Release) stops it, so a backend must report both the press and the release of an arrow.
#pragma once
#include "platform/dialog.h"

// Values last read by the Move Telescope dialog, and the result byte of the last GoTo.
extern int set_Messier, set_CNGC, set_RAhr, set_RAmin, set_Decdeg, set_Decmin;
extern char retchar;

class TMTDialog : public Dialog {
public:
    static constexpr int RESOURCE = 18;
    enum : int {
        FIELD_MESSIER = 101, FIELD_CNGC = 102, BUTTON_GOTO = 103, BUTTON_MERCURY = 104,
        BUTTON_PLUTO = 111, FIELD_RA_HR = 112, FIELD_RA_MIN = 113, FIELD_DEC_DEG = 114,
        FIELD_DEC_MIN = 115, BUTTON_GOTO_COORD = 116, TEXT_INFO = 117, SCROLL_EW = 118,
        SCROLL_NS = 119, RADIO_SLEW = 120, RADIO_FIND = 121, RADIO_CENTRE = 122, RADIO_GUIDE = 123,
        SCROLL_FOCUS = 124, RADIO_FAST = 125, RADIO_SLOW = 126, BUTTON_HELP = 9,
    };
    TMTDialog();

    void SetupWindow() override;
    void Paint(Painter&) override;
    void Destroyed() override;

    void MoveTelescope();
    void MoveToCoord();
    void MovePlanet(short number);
    void MoveSlew();
    void MoveFind();
    void MoveCentre();
    void MoveGuide();
    void FocusFast();
    void FocusSlow();
    void EvHScroll(ScrollCode code, int pos);
    void EvVScroll(ScrollCode code, int pos);
    void EvFocusScroll(ScrollCode code, int pos);
    void Dialog18Help();
    void EvPaint();
};

class TCBDialog : public Dialog {
public:
    static constexpr int RESOURCE = 19;
    enum : int { SCROLL_LEFT_RIGHT = 101, SCROLL_UP_DOWN = 102 };
    TCBDialog();

    void SetupWindow() override;
    void Destroyed() override;
    void EvHScroll(ScrollCode code, int pos);
    void EvVScroll(ScrollCode code, int pos);
};

// The open dialogs (null when closed).
extern TMTDialog* mt_dialog;
extern TCBDialog* cb_dialog;

// "Telescope Control": opens the port when needed, then the dialog that fits the interface.
void CmControl();
void reset_telescope_dialogs();
