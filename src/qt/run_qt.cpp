#include "run_qt.h"

#include <QApplication>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/application.h"
#include "app/help_commands.h"
#include "main_frame_window.h"
#include "platform/posix/install_paths.h"
#include "platform/services.h"
#include "qt_backend.h"
#include "qt_script.h"
#include "wiring/devices.h"

int run_qt(int argc, char** argv, const LaunchOptions& options)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Skyvane");
    QApplication::setQuitOnLastWindowClosed(false);

    std::optional<Script> script;
    if (!options.script.empty()) {
        std::string text, error;
        if (!read_script_file(options.script, text)) {
            std::fprintf(stderr, "skyvane: cannot read the script %s\n", options.script.c_str());
            return 2;
        }
        script = parse_script(text, error);
        if (!script) {
            std::fprintf(stderr, "skyvane: %s: %s\n", options.script.c_str(), error.c_str());
            return 2;
        }
    }

    int code = 0;
    {
        QtBackend backend(options.root.empty() ? Paths::default_root() : options.root);
        backend.install();
        help_index_file = help_folder(options.help_dir) + "/index.html";
        DeviceSet devices;
        std::string error;
        if (!install_devices(options, backend.clock, services(), devices, error)) {
            std::fprintf(stderr, "skyvane: %s\n", error.c_str());
            return 2;
        }
        start_program();
        backend.frame->update_command_states();
        backend.frame->show();

        std::unique_ptr<QtScriptDriver> driver;
        if (script) {
            driver = std::make_unique<QtScriptDriver>(std::move(*script), backend);
            driver->start();
        }
        // As in the headless runner, lines that could not be applied are reported as error lines
        // and the run still ends normally.
        code = QApplication::exec();
        driver.reset();
    }
    return code;
}
