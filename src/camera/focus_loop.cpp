// The focus loop of the camera dialog's "Start" button: 128 x 128 frames around the focus window,
// each shown in the dialog with its peak value, until a click or "Stop".
#include "app/core/commands.h"
#include "camera_dialog.h"
#include "display/bmp_file.h"
#include "display/display_frame.h"
#include "files/settings_values.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/event_pump.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "sequence_state.h"
#include "store/flags.h"
#include "store/planes.h"
#include "zr_readout.h"

namespace {
// Takes the pending messages; true when a left-button press asked the loop to end.
bool left_click_pending()
{
    bool clicked = false;
    services().pump->drain([&](PressKind kind) {
        if (kind == PressKind::LeftButton) {
            stopit = 1;
            clicked = true;
        }
    });
    return clicked;
}

void report_focus_bitmap(int result)
{
    static const char* const texts[] = {"", "Failed to create temp bitmap", "Unable to create temp bitmap file header",
                                        "Unable to create temp bitmap file"};
    if (result >= 1 && result <= 3)
        services().boxes->show("Skyvane", texts[result], BoxButtons::Ok, BoxIcon::None);
}

void frame_pass(TZRDialog& dialog)
{
    {
        WaitCursor wait(*services().desktop);
        max_value = ZR_camera_read();
    }
    dialog.ShowValues();
    DisplayImage();
    report_focus_bitmap(write_bmp(pixels_c, pixels_bmp, 1, 0));
    dialog.Invalidate();
}

// The pause between frames; false when the user cancelled the loop.
bool pause_pass()
{
    services().desktop->beep();
    if (focus_wait) {
        const BoxAnswer answer = services().boxes->show("Skyvane - Focus Mode", "Press OK to take next frame or Cancel to stop focus mode",
                                                        BoxButtons::OkCancel, BoxIcon::None);
        if (answer == BoxAnswer::Cancel) {
            stopit = 1;
            return false;
        }
    }
    if (focus_delay) {
        Clock& clock = *services().clock;
        const int64_t end = clock.ticks() + 1000;
        while (clock.ticks() < end)
            clock.spend(5);
    }
    return true;
}
}

void TZRDialog::Start()
{
    image.point_at(image_int);
    stopit = 0;
    focus_mode = 0;
    if (exp_range == 'm' || exp_value >= 100)
        return;
    focus_mode = 1;
    LongOperation busy;
    for (bool frame = true;; frame = !frame) {
        if (left_click_pending() || services().pump->quitting())
            break;
        if (frame) {
            frame_pass(*this);
            if (stopit)
                break;
        } else if (!pause_pass()) {
            break;
        }
    }
}
