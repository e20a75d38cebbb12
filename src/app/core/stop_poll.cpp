#include "stop_poll.h"

#include "platform/desktop.h"
#include "platform/event_pump.h"
#include "platform/services.h"
#include "store/flags.h"

std::function<void()> close_guiding_info_on_stop;

void apply_stop_request(int place)
{
    if (place == 1) {
        no_images = 1;
        end_loop = 1;
    } else {
        no_images = 0;
    }
    cont_work = 0;
    if (guiding)
        continuous = 0;
    guiding = 0;
    tracking = 0;
    endticks = ticks;
    services().desktop->beep();
    focus_x = 312;
    focus_y = 65;
    if (selfguiding && close_guiding_info_on_stop)
        close_guiding_info_on_stop();
    selfguiding = 0;
    selfguiding_darkframe = 0;
    switch_frame = 0;
    focus_stretch_only = 0;
}

void clear_messages(int place)
{
    services().pump->drain([place](PressKind) { apply_stop_request(place); });
}
