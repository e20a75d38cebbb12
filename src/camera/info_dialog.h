// TInfoDialog: "Guiding Info", the live guide frame with the star's position and the offsets.
#pragma once
#include "platform/dialog.h"

class TInfoDialog : public Dialog {
public:
    static constexpr int RESOURCE = 22;
    enum : int { FIELD_X = 101, FIELD_Y = 102, FIELD_DX = 103, FIELD_DY = 104 };

    TInfoDialog();
    ~TInfoDialog() override;
    void InfoCaption();
    void InfoUpdate();
    void Paint(Painter& painter) override;
};

// The guiding information window open now (the one made last), or nullptr: the guiding and
// self-guiding steps update the window the sequencer or the guiding command opened.
TInfoDialog* guiding_info_window();

// The guide-frame offsets shown as dx and dy, thousandths of a pixel (set by the guiding loop).
extern int x3, y3;
// The guide star's reference position in the guide frame (the cross is drawn there). The
// names x1 and y1 are kept inside a namespace: y1 is also the C library's Bessel function.
namespace guide_ref {
extern int x1, y1;
}
