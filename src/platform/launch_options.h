// What the command line chose: the backend, the script, the clock, the devices.
#pragma once
#include <cstdint>
#include <string>

struct LaunchOptions {
    bool headless = false;
    std::string script;          // a script to run (headless, or driving the real window)
    std::string clock;           // "YYYY-MM-DD HH:MM:SS": start of the virtual clock
    uint64_t seed = 1;           // the simulated sky's random seed
    std::string root;            // where the program's "c:\..." names live
    std::string help_dir;        // the help pages (index.html)
    std::string camera = "sim";  // "sim" or "usb:VVVV:PPPP"
    std::string com1, com2;      // serial device paths; empty: the built-in simulators
    std::string sim_config;      // simulator parameters file
    std::string sim_log;         // simulator truth log (CSV)
};

// Parses the command line; false (with a message in ERROR) for an unknown or incomplete option.
bool parse_launch_options(int argc, char** argv, LaunchOptions& options, std::string& error);
// The usage text printed for --help and for a bad command line.
const char* launch_usage();
