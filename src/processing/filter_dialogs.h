// The dialogs of the Unsharp Mask and Median filters: two spins each, for `white` (the radius)
// and `black` (the power).
#pragma once
#include "platform/dialog.h"

class TUnsharpDialog : public Dialog {
public:
    static constexpr int RESOURCE = 1;
    static constexpr int HELP = 9;
    static constexpr int SPIN_RADIUS = 101;
    static constexpr int SPIN_POWER = 102;
    static constexpr int EDIT_RADIUS = 103;
    static constexpr int EDIT_POWER = 104;

    TUnsharpDialog();
    void SetupWindow() override;

    static constexpr const char* HELP_CAPTION = "Skyvane";
    static const char* const HELP_TEXT;

private:
    void DecrementWhite();
    void DecrementBlack();
    void IncrementWhite();
    void IncrementBlack();
    void Dialog1Help();
};

class TMedianDialog : public Dialog {
public:
    static constexpr int RESOURCE = 4;
    static constexpr int HELP = 9;
    static constexpr int EDIT_RADIUS = 101;
    static constexpr int EDIT_POWER = 102;
    static constexpr int SPIN_RADIUS = 103;
    static constexpr int SPIN_POWER = 104;

    TMedianDialog();
    void SetupWindow() override;

    static constexpr const char* HELP_CAPTION = "Skyvane - Median Filter";
    static const char* const HELP_TEXT;

private:
    void DecrementWhite();
    void DecrementBlack();
    void IncrementWhite();
    void IncrementBlack();
    void Dialog1Help();
};
