#include "modeless_window.h"

namespace {
std::vector<std::unique_ptr<Dialog>>& retired()
{
    static std::vector<std::unique_ptr<Dialog>> windows;
    return windows;
}
}

void collect_closed_windows()
{
    auto windows = std::move(retired());
    retired().clear();
    windows.clear();
}

void retire_window(std::unique_ptr<Dialog> window)
{
    retired().push_back(std::move(window));
}

void forget_all_windows()
{
    for (auto& w : retired())
        w->detach();
    retired().clear();
}
