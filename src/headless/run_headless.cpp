#include "run_headless.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/application.h"
#include "app/help_commands.h"
#include "headless_file_services.h"
#include "headless_services.h"
#include "platform/paths.h"
#include "platform/posix/install_paths.h"
#include "platform/posix/posix_file_system.h"
#include "platform/services.h"
#include "script.h"
#include "script_session.h"
#include "virtual_clock.h"
#include "wiring/devices.h"

int run_headless(const LaunchOptions& options)
{
    std::string text;
    if (!read_script_file(options.script, text)) {
        std::fprintf(stderr, "skyvane: cannot read the script %s\n", options.script.c_str());
        return 2;
    }
    std::string error;
    auto script = parse_script(text, error);
    if (!script) {
        std::fprintf(stderr, "skyvane: %s: %s\n", options.script.c_str(), error.c_str());
        return 2;
    }
    std::time_t start = std::time(nullptr);
    if (!options.clock.empty() && !VirtualClock::parse_start(options.clock, start)) {
        std::fprintf(stderr, "skyvane: --clock needs \"YYYY-MM-DD HH:MM:SS\"\n");
        return 2;
    }

    VirtualClock clock(start);
    PosixFileSystem files;
    Paths paths(options.root.empty() ? Paths::default_root() : options.root, files);
    ScriptSession session(std::move(*script), clock, std::cout);
    HeadlessBoxes boxes(session);
    HeadlessFileDialogs file_dialogs(session);
    HeadlessPump pump(session);
    HeadlessDesktop desktop(session);
    HeadlessFrame frame(session);
    HeadlessDialogHost dialogs(session);
    HeadlessClipboard clipboard;
    HeadlessPrinter printer;
    session.attach(&frame, &desktop);

    Services& s = services();
    s = Services{&clock, &pump, &boxes, &file_dialogs, &desktop, &dialogs, &files, &paths, &frame};
    s.clipboard = &clipboard;
    s.printer = &printer;
    help_index_file = help_folder(options.help_dir) + "/index.html";
    DeviceSet devices;
    if (!install_devices(options, clock, s, devices, error)) {
        std::fprintf(stderr, "skyvane: %s\n", error.c_str());
        return 2;
    }

    start_program();
    session.run_main_loop();
    s = Services{};
    return 0;
}
