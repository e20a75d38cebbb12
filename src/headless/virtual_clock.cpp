#include "virtual_clock.h"

#include <cstdio>
#include <string>

std::tm VirtualClock::local_time() const
{
    const std::time_t t = start_ + static_cast<std::time_t>(now_ / 1000000);
    std::tm out {};
    localtime_r(&t, &out);
    return out;
}

bool VirtualClock::parse_start(const std::string& text, std::time_t& out)
{
    std::tm tm {};
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                    &tm.tm_hour, &tm.tm_min, &tm.tm_sec, &tail) != 6)
        return false;
    if (tm.tm_mon < 1 || tm.tm_mon > 12 || tm.tm_mday < 1 || tm.tm_mday > 31 || tm.tm_hour > 23 ||
        tm.tm_min > 59 || tm.tm_sec > 60)
        return false;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    tm.tm_isdst = -1;
    out = std::mktime(&tm);
    return out != static_cast<std::time_t>(-1);
}
