#include "qt_backend.h"

#include <QCoreApplication>

#include "client_view.h"
#include "main_frame_window.h"
#include "platform/services.h"
#include "qt_file_services.h"

QtBackend::QtBackend(const std::string& root) : paths(root, files), frame(std::make_unique<MainFrameWindow>())
{
    desktop.set_client(frame->client()->viewport());
    dialogs.set_parent(frame.get());
    frame->on_closed([this] {
        pump.set_quitting();
        QCoreApplication::quit();
    });
}

QtBackend::~QtBackend()
{
    Services& s = services();
    if (s.frame == frame.get())
        s = Services{};
    frame.reset();
}

void QtBackend::install()
{
    // The user-facing services are the window's; the devices stay as installed.
    Services& s = services();
    s.clock = &clock;
    s.pump = &pump;
    s.boxes = &boxes;
    s.file_dialogs = &file_dialogs;
    s.desktop = &desktop;
    s.dialogs = &dialogs;
    s.files = &files;
    s.paths = &paths;
    s.frame = frame.get();
    install_qt_file_services(s);
}
