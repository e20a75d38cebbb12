#include "filters.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/core/commands.h"
#include "display/window_display.h"
#include "filter_dialogs.h"
#include "filter_kernels.h"
#include "platform/desktop.h"
#include "platform/main_frame.h"
#include "platform/services.h"
#include "progress_dialog.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/plane_copies.h"
#include "store/planes.h"
#include "stretch.h"

int32_t venetian_flipflop = 0;

void reset_filter_state()
{
    venetian_flipflop = 0;
}

namespace {
// First row a filter may change: the label rows of a header-marked image stay as they are.
int first_row(const uint16_t* plane)
{
    return is_header_marked(plane) ? 10 : 0;
}

// The undo copy of IMAGE_PLANE into UNDO_PLANE (the usual undo copy for the program's own planes).
void save_undo(uint16_t* image_plane, uint16_t* undo_plane)
{
    if (image_plane == image_int && undo_plane == undo_int) {
        undo_save_option();
        return;
    }
    undo_image(image_plane, undo_plane);
    undo_binned = binned;
}

// The progress window of a filter, open for the life of the guard.
class FilterProgress {
public:
    explicit FilterProgress(const char* caption)
    {
        set_progress_caption(caption);
        window_ = std::make_unique<TProgressDialog>();
        window_->Create();
    }
    ~FilterProgress()
    {
        window_->CloseWindow(IDCANCEL);
    }
    void update() { window_->ProgressUpdate(); }

private:
    std::unique_ptr<TProgressDialog> window_;
};
}

void run_enhance(int32_t rad, int32_t masknum, int32_t divisor)
{
    LongOperation busy;
    WaitCursor wait(*services().desktop);
    undo_save_option();
    {
        FilterProgress window("FILTER PROGRESS");
        copy_image(trial_int, image_int);
        const int st = first_row(image_int);
        progress = st + rad;
        for (int y = st + rad; y < height1 - rad; ++y) {
            window.update();
            convolve_rows(image_int, trial_int, width1, y, y + 1, rad, masknum, divisor);
            ++progress;
        }
        copy_image(image_int, trial_int);
    }
    image_prepare();
}

void highlow_enhance()
{
    run_enhance(1, 2, 1);
    history_append("High Pass Low Power Filter");
}

void highhigh_enhance()
{
    run_enhance(2, 3, 1);
    history_append("High Pass High Power Filter");
}

void smoothsharp_enhance()
{
    run_enhance(2, 4, 1);
    history_append("Smoother/Sharper Filter");
}

void gaussian_enhance()
{
    run_enhance(2, 1, 80);
    history_append("Gaussian Filter");
}

void lowpass_enhance()
{
    run_enhance(1, 0, 16);
    history_append("Lowpass Smoother Filter");
}

void basrelief_enhance()
{
    run_enhance(2, 5, 1);
    history_append("Bas Relief Filter");
}

void unsharp_enhance()
{
    white = 3;
    black = 1;
    {
        TUnsharpDialog dialog;
        if (dialog.Execute() != IDOK)
            return;
    }
    LongOperation busy;
    WaitCursor wait(*services().desktop);
    const int r = static_cast<int>(white);
    const uint32_t k = black;
    {
        FilterProgress window("UNSHARP MASK PROGRESS");
        undo_save_option();
        copy_image(trial_int, image_int);
        progress = 0;
        for (int y = first_row(image_int) + r; y < height1 - r; ++y) {
            window.update();
            unsharp_row(image_int, trial_int, width1, y, r, k);
            ++progress;
        }
        copy_image(image_int, trial_int);
    }
    image_prepare();
    char text[64];
    std::snprintf(text, sizeof text, "Unsharp Mask : rad %d ,power %u", r, k);
    history_append(text);
}

void median_enhance()
{
    white = 1;
    black = 6;
    {
        TMedianDialog dialog;
        if (dialog.Execute() != IDOK)
            return;
    }
    LongOperation busy;
    WaitCursor wait(*services().desktop);
    // The area the dialog covered is repainted before the work starts.
    if (services().frame)
        services().frame->repaint_now();
    run_median_enhance(image_int, trial_int, undo_int);
}

void run_median_enhance(uint16_t* image_plane, uint16_t* trial_plane, uint16_t* undo_plane)
{
    save_undo(image_plane, undo_plane);
    const int r = static_cast<int>(white);
    const float power = static_cast<float>(black * 0.1);
    copy_image(trial_plane, image_plane);
    median_rows(image_plane, trial_plane, width1, height1, first_row(image_plane), r, power);
    copy_image(image_plane, trial_plane);
    char text[64];
    std::snprintf(text, sizeof text, "Median Filter : rad %d ,power %1.1f", r, power);
    history_append(text);
    image_prepare();
}

void gradient_filter(uint16_t* image_plane)
{
    gradient_core(image_plane, width1, height1, first_row(image_plane), binned != 0);
}

void gradient_enhance()
{
    LongOperation busy;
    WaitCursor wait(*services().desktop);
    undo_save_option();
    gradient_filter(image_int);
    history_append("Gradient Filter");
    image_prepare();
}

void venetian_blind(uint16_t* image_plane, uint16_t* undo_plane)
{
    save_undo(image_plane, undo_plane);
    venetian_flipflop = venetian_flipflop == 0 ? 1 : 0;
    venetian_core(image_plane, undo_plane, width1, height1, first_row(image_plane), venetian_flipflop == 1);
    history_append("Vertical Smoothing Filter");
}

void venetian_enhance()
{
    LongOperation busy;
    venetian_blind(image_int, undo_int);
    image_prepare();
}
