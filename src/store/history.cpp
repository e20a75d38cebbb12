#include "history.h"

std::array<std::string, HISTORY_LINES> process_info;

int history_first_empty()
{
    for (int k = 0; k < HISTORY_USED; ++k)
        if (process_info[k].empty())
            return k;
    return -1;
}

int history_append(const std::string& text)
{
    const int k = history_first_empty();
    if (k >= 0)
        process_info[k] = text.substr(0, HISTORY_TEXT);
    return k;
}

void history_clear()
{
    for (int k = 0; k < HISTORY_USED; ++k)
        process_info[k].clear();
}
