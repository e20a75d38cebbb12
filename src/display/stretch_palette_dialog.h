// TMaxDialog: the palette multiplier of the "Max Palette Stretch" command.
#pragma once
#include "platform/dialog.h"

class TMaxDialog : public Dialog {
public:
    static constexpr int RESOURCE = 20;
    static constexpr int FIELD_STRETCH = 102;
    static constexpr int CHECK_ALL_IMAGES = 103;
    static constexpr int SCROLL_STRETCH = 104;

    TMaxDialog();
    void SetupWindow() override;
    void Paint(Painter&) override;

private:
    void EvHScroll(ScrollCode code, int pos);
    void CmAllImages();
    void show_variables();
};
