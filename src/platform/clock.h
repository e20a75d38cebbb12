// The program's one clock: milliseconds for every wait and the local calendar time for stamps.
#pragma once
#include <cstdint>
#include <ctime>

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start. Program code reads time only here; the virtual
    // clock advances by a small quantum on every read so that busy loops end.
    virtual int64_t ticks() = 0;
    // Microseconds since the same start, without advancing (devices and logs use it).
    virtual int64_t now_us() const = 0;
    // Lets MS milliseconds pass: a device spending time, or a wait that gives the CPU back.
    virtual void spend(int64_t ms) = 0;
    // Local wall-clock calendar time at this moment.
    virtual std::tm local_time() const = 0;
};
