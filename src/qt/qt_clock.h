// The real clock: a steady millisecond count for waits and the system's local calendar time.
#pragma once
#include <chrono>

#include "platform/clock.h"

class QtClock : public Clock {
public:
    QtClock();
    int64_t ticks() override;
    int64_t now_us() const override;
    // Lets MS milliseconds pass while the window stays alive: pending events are processed
    // between sleeps of at most one millisecond.
    void spend(int64_t ms) override;
    std::tm local_time() const override;

private:
    std::chrono::steady_clock::time_point start_;
};
