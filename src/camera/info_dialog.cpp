#include "info_dialog.h"

#include <cstdio>

#include "display/bmp_file.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "sequence_state.h"
#include "store/flags.h"

int x3 = 0, y3 = 0;
namespace guide_ref {
int x1 = 0, y1 = 0;
}

namespace {
TInfoDialog* current_window = nullptr;

std::string one_decimal(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%1.1f", v);
    return text;
}
}

TInfoDialog::TInfoDialog()
    : Dialog(RESOURCE, "Guiding Info", 300, 250, {
          {-1, ControlKind::Static, "Offsets from top left corner of displayed frame", 10, 6, 280, 16},
          {-1, ControlKind::GroupBox, "Guiding Frame", 66, 44, 146, 156},
          {-1, ControlKind::Static, "x", 10, 212, 12, 16},
          {FIELD_X, ControlKind::Edit, "", 24, 210, 50, 22},
          {-1, ControlKind::Static, "y", 80, 212, 12, 16},
          {FIELD_Y, ControlKind::Edit, "", 94, 210, 50, 22},
          {-1, ControlKind::Static, "dx", 150, 212, 18, 16},
          {FIELD_DX, ControlKind::Edit, "", 170, 210, 50, 22},
          {-1, ControlKind::Static, "dy", 226, 212, 18, 16},
          {FIELD_DY, ControlKind::Edit, "", 246, 210, 50, 22},
      })
{
    current_window = this;
}

TInfoDialog::~TInfoDialog()
{
    if (current_window == this)
        current_window = nullptr;
}

TInfoDialog* guiding_info_window() { return current_window; }

void TInfoDialog::InfoCaption()
{
    SetCaption(info_caption);
}

void TInfoDialog::InfoUpdate()
{
    SetText(FIELD_X, one_decimal(xcent + xcentdec * 0.1));
    SetText(FIELD_Y, one_decimal(ycent + ycentdec * 0.1));
    SetText(FIELD_DX, one_decimal(x3 * 0.001));
    SetText(FIELD_DY, one_decimal(y3 * 0.001));
    Invalidate();
}

void TInfoDialog::Paint(Painter& painter)
{
    if (!got_guide_image)
        return;
    const auto bytes = services().files->read(services().paths->native(FOCUS_BMP));
    if (!bytes)
        return;
    if (auto bmp = read_bmp(*bytes))
        painter.draw_bitmap(*bmp, 75, 66);
    painter.set_pen({255, 0, 0}, 1);
    const int x1 = guide_ref::x1, y1 = guide_ref::y1;
    painter.line(x1 + 59, y1 + 66, x1 + 99, y1 + 66);
    painter.line(x1 + 79, y1 + 46, x1 + 79, y1 + 86);
}
