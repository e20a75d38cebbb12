#include "qt_file_services.h"

#include <memory>

#include "platform/services.h"
#include "qt_clipboard.h"
#include "qt_printer.h"

void install_qt_file_services(Services& services)
{
    static std::unique_ptr<QtClipboard> clipboard;
    static std::unique_ptr<QtPrinter> printer;
    if (!clipboard)
        clipboard = std::make_unique<QtClipboard>();
    if (!printer)
        printer = std::make_unique<QtPrinter>();
    services.clipboard = clipboard.get();
    services.printer = printer.get();
}
