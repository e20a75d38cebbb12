// Every Qt service of the program in one place: built after the QApplication, installed into
// services(), removed again when it goes.
#pragma once
#include <memory>
#include <string>

#include "platform/paths.h"
#include "platform/posix/posix_file_system.h"
#include "qt_clock.h"
#include "qt_desktop.h"
#include "qt_dialog_host.h"
#include "qt_file_dialogs.h"
#include "qt_message_boxes.h"
#include "qt_pump.h"

class MainFrameWindow;

class QtBackend {
public:
    explicit QtBackend(const std::string& root);
    ~QtBackend();
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // Fills services() with these services (the logic may start after this).
    void install();

    PosixFileSystem files;
    Paths paths;
    QtClock clock;
    QtEventPump pump;
    QtMessageBoxes boxes;
    QtFileDialogs file_dialogs;
    QtDesktop desktop;
    QtDialogHost dialogs;
    std::unique_ptr<MainFrameWindow> frame;
};
