#include "c_numbers.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {
// Switches the calling thread to the C locale for the life of the guard.
class CLocale {
public:
    CLocale()
    {
        static locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        previous_ = uselocale(c_locale);
    }
    ~CLocale() { uselocale(previous_); }
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;
private:
    locale_t previous_;
};
}

std::string c_format_double(const char* format, double value)
{
    CLocale c;
    char text[512];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::optional<double> c_parse_double(const std::string& text)
{
    CLocale c;
    const char* start = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start)
        return std::nullopt;
    return value;
}

int read_signed_field(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t digits = i;
    long long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return 0;
        ++i;
    }
    if (i == digits)
        return 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i != text.size())
        return 0;
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        return 0;
    return static_cast<int>(value);
}
