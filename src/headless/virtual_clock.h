// The headless clock: starts at a given calendar time and advances only when read (by a small
// quantum, so busy loops end) and when devices or script waits spend time.
#pragma once
#include <ctime>
#include <string>

#include "platform/clock.h"

class VirtualClock : public Clock {
public:
    static constexpr int64_t QUANTUM_US = 250;

    explicit VirtualClock(std::time_t start) : start_(start) {}
    int64_t ticks() override { now_ += QUANTUM_US; return now_ / 1000; }
    int64_t now_us() const override { return now_; }
    void spend(int64_t ms) override { if (ms > 0) now_ += ms * 1000; }
    std::tm local_time() const override;

    void advance_to_us(int64_t us) { if (us > now_) now_ = us; }

    // "YYYY-MM-DD HH:MM:SS" as local time; false when the text is not such a time.
    static bool parse_start(const std::string& text, std::time_t& out);

private:
    std::time_t start_;
    int64_t now_ = 0;
};
