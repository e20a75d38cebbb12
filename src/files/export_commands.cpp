#include "export_commands.h"

#include "display/bmp_file.h"
#include "display/window_display.h"
#include "platform/clipboard.h"
#include "platform/paths.h"
#include "platform/printer.h"
#include "platform/services.h"

void CmCopy()
{
    if (Dib && services().clipboard)
        services().clipboard->put_bitmap(*Dib);
}

bool CeCopy()
{
    return Dib.has_value();
}

void CmPrint()
{
    if (services().printer)
        services().printer->print_bitmap_file(services().paths->native(DISPLAY_BMP));
}

void CmPrintSetup()
{
    if (services().printer)
        services().printer->setup();
}
