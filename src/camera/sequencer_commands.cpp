#include "sequencer_commands.h"

#include "app/core/commands.h"
#include "calibration.h"
#include "camera_hooks.h"
#include "info_dialog.h"
#include "sequence_state.h"
#include "sequencer.h"

CameraHooks camera_hooks;

void reset_sequencer()
{
    reset_sequence_state();
    camera_hooks = {};
    x3 = y3 = 0;
    guide_ref::x1 = guide_ref::y1 = 0;
}

void register_sequencer_commands()
{
    register_command(12, ZR_Control);
    register_command(104, CmDarkFile);
    register_command(122, CmFlatField);
    register_command(25, CmFocusFrame, CommandKind::Free);
    register_command(26, CmFocusFrameReset, CommandKind::Free);
}
