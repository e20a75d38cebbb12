// The dialogs of the Contrast menu: Normal Stretch (levels over the drawn histogram), Power Law
// and Non-Linear. They change `black`, `white` and `power_str` directly.
#pragma once
#include "platform/dialog.h"

class TStretchDialog : public Dialog {
public:
    static constexpr int RESOURCE = 3;
    static constexpr int HELP = 9;
    static constexpr int EDIT_BLACK = 101;
    static constexpr int SCROLL_BLACK = 102;
    static constexpr int SCROLL_WHITE = 103;
    static constexpr int EDIT_WHITE = 104;

    TStretchDialog();
    void SetupWindow() override;     // EvInitDialog
    void Paint(Painter&) override;   // EvPaint: axes, ticks and bins of `table`, then the markers

    static constexpr const char* HELP_CAPTION = "Skyvane - Normal Stretch";
    static const char* const HELP_TEXT;

private:
    void EvHScroll(int id, ScrollCode code, int pos);
    void DecrementWhite();
    void DecrementBlack();
    void IncrementWhite();
    void IncrementBlack();
    void DecPageWhite();
    void DecPageBlack();
    void IncPageWhite();
    void IncPageBlack();
    void Dialog1Help();
    void Scrollbars();
    // The level markers: drawn with PAINTER when painting; from a handler the values go into
    // the controls and the dialog is redrawn.
    void DrawHistogram(Painter* painter = nullptr);
    void show_levels();
};

class TPowerDialog : public Dialog {
public:
    static constexpr int RESOURCE = 2;
    static constexpr int HELP = 9;
    static constexpr int SCROLL_POWER = 101;
    static constexpr int EDIT_POWER = 102;

    TPowerDialog();
    void SetupWindow() override;     // EvInitDialog

    static constexpr const char* HELP_CAPTION = "Skyvane - Power Law Stretch";
    static const char* const HELP_TEXT;

private:
    void UpdateScrollbar();
    void DecrementPower();
    void IncrementPower();
    void Dialog2Help();
};

class TNonLiniarDialog : public Dialog {
public:
    static constexpr int RESOURCE = 16;
    static constexpr int HELP = 9;
    static constexpr int EDIT_POWER = 102;
    static constexpr int SPIN_POWER = 213;

    TNonLiniarDialog();
    void SetupWindow() override;

    static constexpr const char* HELP_CAPTION = "Skyvane - NonLiniar Filter";
    static const char* const HELP_TEXT;

private:
    void DecrementWhite();
    void IncrementWhite();
    void Dialog1Help();
    void show_power();
};
