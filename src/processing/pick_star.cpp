#include "pick_star.h"

#include "app/core/commands.h"
#include "app/core/messages.h"
#include "display/window_display.h"
#include "platform/desktop.h"
#include "platform/services.h"
#include "star_centroid.h"
#include "store/flags.h"
#include "store/planes.h"

void CmPickStar()
{
    if (Fit || Geo) {
        messages(35);
        return;
    }
    pick_star = pick_star ? 0 : 1;
    if (pick_star) {
        centre_it = 1;
        cur_rad = star_mask;
        services().desktop->set_cursor(CursorShape::Arrow);
    }
}

CommandState CePickStar()
{
    return {true, pick_star != 0};
}

bool home_click_on_star(int x, int y, int r)
{
    CentreOutcome outcome;
    find_centre(x, y, image.fred3, r, &outcome);
    if (outcome == CentreOutcome::Failed)
        return false;
    if (outcome == CentreOutcome::NothingFound) {
        xcent = x;
        ycent = y;
    }
    return true;
}

void register_pick_star()
{
    register_command(21, CmPickStar, CommandKind::Free);
    register_enabler(21, CePickStar);
}
