#include "undo_command.h"

#include "display/window_display.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/plane_copies.h"
#include "store/planes.h"

namespace {
// The undo copy was taken in the other geometry: restore that geometry with the samples.
void restore_undo_geometry()
{
    if (undo_binned == binned)
        return;
    set_frame_geometry(undo_binned != 0);
}
}

void undo_restore_option()
{
    restore_undo_geometry();
    restore_image(image.fred3, undo.fred3);
    image_prepare();
    const int k = history_first_empty();
    if (k > 0)
        process_info[k - 1].clear();
}
