#include "launch_options.h"

#include <cstdlib>
#include <cstring>

const char* launch_usage()
{
    return "usage: skyvane [--headless] [--script FILE] [--clock \"YYYY-MM-DD HH:MM:SS\"] [--seed N]\n"
           "               [--root DIR] [--help-dir DIR] [--camera sim|usb:VVVV:PPPP]\n"
           "               [--com1 PATH] [--com2 PATH] [--sim-config FILE] [--sim-log FILE]\n";
}

bool parse_launch_options(int argc, char** argv, LaunchOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc) {
                error = "missing value after " + arg;
                return false;
            }
            target = argv[++i];
            return true;
        };
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--script") {
            if (!value(options.script)) return false;
        } else if (arg == "--clock") {
            if (!value(options.clock)) return false;
        } else if (arg == "--seed") {
            std::string text;
            if (!value(text)) return false;
            char* end = nullptr;
            options.seed = std::strtoull(text.c_str(), &end, 10);
            if (text.empty() || *end) {
                error = "--seed needs a number";
                return false;
            }
        } else if (arg == "--root") {
            if (!value(options.root)) return false;
        } else if (arg == "--help-dir") {
            if (!value(options.help_dir)) return false;
        } else if (arg == "--camera") {
            if (!value(options.camera)) return false;
        } else if (arg == "--com1") {
            if (!value(options.com1)) return false;
        } else if (arg == "--com2") {
            if (!value(options.com2)) return false;
        } else if (arg == "--sim-config") {
            if (!value(options.sim_config)) return false;
        } else if (arg == "--sim-log") {
            if (!value(options.sim_log)) return false;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}
