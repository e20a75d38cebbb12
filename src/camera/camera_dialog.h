// TZRDialog: "QV Control Interface", every option of an exposure sequence. The dialog edits the
// program-wide variables directly; its edit fields only display them. "Take Photo" closes it with
// IDOK, and its "Start" button runs the focus loop inside it.
#pragma once
#include "platform/dialog.h"

class TZRDialog : public Dialog {
public:
    static constexpr int RESOURCE = 7;
    enum : int {
        TAKE_PHOTO = 1, CANCEL = 2, HELP = 9,
        RANGE_Q = 701, RANGE_H = 702, RANGE_T = 703, RANGE_S = 704, RANGE_M = 705,
        EXP_SCROLL = 104, EXP_FIELD = 105,
        CONTINUOUS = 118, DELAY_SCROLL = 119, DELAY_FIELD = 120,
        IMAGES_SCROLL = 111, IMAGES_FIELD = 112,
        EXPOSURE_DELAY = 117, AVERAGE = 106, SLEW_ALT = 115,
        MODE_BINNED = 126, MODE_FAST = 127, MODE_PROGRESSIVE = 128, MODE_INTERLACED = 129,
        FOCUS_START = 107, FOCUS_STOP = 108, MAX_VALUE = 109,
        STRETCH_SCROLL = 124, STRETCH_FIELD = 130,
        AUTO_EXPOSURE = 125, FOCUS_WAIT = 132, MAX_STRETCH = 131,
        AUTO_SAVE = 116, LAST_FILE = 121, DIRECTORY = 139,
        AUTO_DARK = 113, DARK_NAME = 114, AUTO_FLAT = 122, FLAT_NAME = 123,
        SELF_GUIDE = 135, SELF_GUIDE_DARK = 138, GUIDER_FRAMES = 140,
        GUIDE_VALUE = 133, GUIDE_RANGE = 134, GUIDE_RESOLUTION = 136,
    };
    static constexpr int FOCUS_X = 373, FOCUS_Y = 157;   // where the focus frame is drawn

    TZRDialog();
    void SetupWindow() override;
    void Paint(Painter& painter) override;

    // The focus loop of the "Start" button.
    void Start();

    // Handlers, in control order.
    void SetThousandths();
    void SetHundredths();
    void SetTenths();
    void SetSeconds();
    void SetMinutes();
    void SetContinuous();
    void SetDelay();
    void SetAverage();
    void SetSlewAlt();
    void SetNormal();
    void SetBinned21();
    void SetHighResIntl();
    void SetHighResNonIntl();
    void Stop();
    void SetAutoExp();
    void SetFocusWait();
    void SetMaxStretch();
    void SetAutoSave();
    void SetDark();
    void SetFlat();
    void SetSelfGuiding();
    void SetSelfGuidingDarkframe();
    void Dialog7Help();
    void DecrementExp();
    void IncrementExp();
    void DecrementImg();
    void IncrementImg();
    void DecrementDelay();
    void IncrementDelay();
    void EvVScroll(ScrollCode code, int pos);

    void ShowValues();

private:
    void set_range(char range, int maximum, int value);
    void set_mode(int& flag);
    bool control_box_present();
    void show_controls();
    void show_self_guiding();
};
