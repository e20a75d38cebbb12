#include "one_sec_delay.h"

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/event_pump.h"
#include "platform/services.h"

namespace {
constexpr int PASS_MS = 5;   // a pass of a host-timed wait; short beside every step it times
}

void wait_pass()
{
    services().clock->spend(PASS_MS);
}

int one_sec_delay(int seconds)
{
    Clock& clock = *services().clock;
    const int64_t end = clock.ticks() + static_cast<int64_t>(seconds) * 1000;
    bool pressed = false;
    while (!pressed && clock.ticks() < end) {
        services().pump->drain([&](PressKind) {
            if (!pressed)
                services().desktop->beep();
            pressed = true;
        });
        if (!pressed)
            wait_pass();
    }
    return pressed ? 1 : 0;
}
