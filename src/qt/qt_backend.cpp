#include "qt_backend.h"

#include <QCoreApplication>

#include "client_view.h"
#include "main_frame_window.h"
#include "platform/services.h"

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
    services() = Services{&clock, &pump, &boxes, &file_dialogs, &desktop, &dialogs, &files, &paths, frame.get()};
}
