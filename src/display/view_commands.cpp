#include "view_commands.h"

#include "app/core/commands.h"
#include "mirror.h"
#include "platform/desktop.h"
#include "platform/main_frame.h"
#include "platform/services.h"
#include "store/flags.h"
#include "store/planes.h"
#include "stretch_palette_dialog.h"
#include "window_display.h"

namespace {
void repaint_now()
{
    if (services().frame)
        services().frame->repaint_now();
}
}

void CmFit()
{
    if (photometry)
        return;
    Fit = !Fit;
    if (Fit) {
        Geo = 0;
        if (Big) {
            Big = 0;
            image_prepare();
        }
    }
    AdjustScroller();
}

void CmGeo()
{
    if (photometry)
        return;
    Geo = !Geo;
    if (Geo) {
        Fit = 0;
        if (Big) {
            Big = 0;
            image_prepare();
        }
    }
    image_prepare();
    AdjustScroller();
}

void CmBig()
{
    if (photometry)
        return;
    Big = !Big;
    if (Big) {
        Fit = 0;
        Geo = 0;
    }
    image_prepare();
    AdjustScroller();
}

void CmColPal()
{
    colour_palette = !colour_palette;
    image_prepare();
    AdjustScroller();
}

void CmStretchPal()
{
    stretch_palette = !stretch_palette;
    image_prepare();
    AdjustScroller();
}

void CmMaxStretchOn()
{
    if (!max_stretch) {
        max_stretch = 1;
        repaint_now();
        image_prepare();
    }
    repaint_now();
}

void CmMaxStretchOff()
{
    if (max_stretch == 1) {
        max_stretch = 0;
        repaint_now();
        image_prepare();
    }
    repaint_now();
}

void CmStretchMax()
{
    TMaxDialog dialog;
    if (dialog.Execute() == IDOK)
        image_prepare();
}

void CmMirror()
{
    WaitCursor wait(*services().desktop);
    mirror_image(image.fred3, trial.fred3);
    image_prepare();
}

void register_display_commands()
{
    register_command(301, CmFit, CommandKind::Free);
    register_command(303, CmGeo, CommandKind::Free);
    register_command(123, CmBig, CommandKind::Free);
    register_command(118, CmColPal, CommandKind::Free);
    register_command(119, CmStretchPal, CommandKind::Free);
    register_command(726, CmStretchMax, CommandKind::Free);
    register_command(1901, CmMaxStretchOn, CommandKind::Free);
    register_command(1902, CmMaxStretchOff, CommandKind::Free);
    register_command(891, PaintIt, CommandKind::Free);
    register_command(302, CmMirror);

    register_enabler(24359, [] { return CommandState{Dib.has_value(), false}; });
    register_enabler(301, [] { return CommandState{true, Fit != 0}; });
    register_enabler(303, [] { return CommandState{binned != 0, Geo != 0}; });
    register_enabler(123, [] { return CommandState{binned != 0, Big != 0}; });
    register_enabler(118, [] { return CommandState{true, colour_palette != 0}; });
    register_enabler(119, [] { return CommandState{true, stretch_palette != 0}; });
}


