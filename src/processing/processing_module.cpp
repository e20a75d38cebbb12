#include "processing_module.h"

#include "analysis_module.h"
#include "app/core/commands.h"
#include "filters.h"
#include "progress_dialog.h"
#include "stretch.h"
#include "stretch_dialogs.h"

namespace {
void CmContrastNormal()
{
    black = 0;
    white = 255;
    TStretchDialog dialog;
    if (dialog.Execute() == IDOK)
        ContrastNormal();
}

void CmContrastPower()
{
    power_str = 1.0;
    TPowerDialog dialog;
    if (dialog.Execute() == IDOK && power_str != 1.0)
        ContrastPower();
}

void CmContrastVarnel()
{
    white = 25;
    TNonLiniarDialog dialog;
    if (dialog.Execute() == IDOK)
        ContrastVarnel();
}
}

void reset_processing_module()
{
    reset_progress_state();
    reset_stretch_state();
    reset_filter_state();
    reset_analysis_module();
}

void register_processing_module()
{
    // Contrast menu.
    register_command(1, CmContrastNormal);
    register_command(2, CmContrastPower);
    register_command(101, ContrastSine);
    register_command(120, ContrastBackground);
    register_command(117, CmContrastVarnel);
    register_command(102, logstretch);
    register_command(103, antilog);
    register_command(105, ContrastInvert);
    register_command(CMD_CONTRAST_STRETCH, contrast_stretch);
    // Filters menu.
    register_command(106, unsharp_enhance);
    register_command(107, highlow_enhance);
    register_command(108, highhigh_enhance);
    register_command(109, smoothsharp_enhance);
    register_command(3, median_enhance);
    register_command(4, gaussian_enhance);
    register_command(5, lowpass_enhance);
    register_command(7, basrelief_enhance);
    register_command(18, gradient_enhance);
    register_command(27, venetian_enhance);
    register_analysis_commands();
}
