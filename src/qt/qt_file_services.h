// The Qt clipboard and printer, installed into the services by the Qt backend at start-up.
#pragma once

struct Services;

// Points services.clipboard and services.printer at the Qt implementations (they live for the
// rest of the process). Call after the QApplication exists.
void install_qt_file_services(Services& services);
