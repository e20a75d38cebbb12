#include "qt_clock.h"

#include <QCoreApplication>
#include <algorithm>
#include <thread>

QtClock::QtClock() : start_(std::chrono::steady_clock::now()) {}

int64_t QtClock::ticks()
{
    return now_us() / 1000;
}

int64_t QtClock::now_us() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_).count();
}

void QtClock::spend(int64_t ms)
{
    const int64_t deadline = now_us() + ms * 1000;
    for (;;) {
        // Repaints go on while time is spent; input waits for the next drain of the queue, so a
        // key or click is never taken outside the stop poll.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const int64_t left = deadline - now_us();
        if (left <= 0)
            break;
        std::this_thread::sleep_for(std::chrono::microseconds(std::min<int64_t>(left, 1000)));
    }
}

std::tm QtClock::local_time() const
{
    const std::time_t now = std::time(nullptr);
    std::tm result{};
    localtime_r(&now, &result);
    return result;
}
