#include "merge_images.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "app/core/commands.h"
#include "app/core/messages.h"
#include "app/core/mouse_modes.h"
#include "display/window_display.h"
#include "files/file_choice.h"
#include "files/raw_file.h"
#include "image_arithmetic.h"
#include "progress_dialog.h"
#include "platform/desktop.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "star_centroid.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/plane_copies.h"
#include "store/planes.h"

char merge_type = 's';
int load_darkframe = 0, load_comparison = 0, load_flatfield = 0;
std::string lastdir;
int32_t orig = 1, average = 0, merge_centre = 0, orig_x = 0, orig_y = 0, merge_x = 0, merge_y = 0;
uint16_t* extfredptr = nullptr;
uint16_t* exttrialptr = nullptr;

ModelessWindow<TMergeDialog> TAD;

namespace {
// The first image of a merge, kept apart from trial_int, which filters, averaging and other
// commands use as their work plane while merge mode is on.
uint16_t merge_first_int[PLANE_SAMPLES];
int merge_first_binned = -1;

// The progress window of the flat field, open for the life of the guard.
class FlatProgress {
public:
    FlatProgress(const char* caption, int first)
    {
        set_progress_caption(caption);   // the window takes its caption when it is built
        progress = first;
        window_ = std::make_unique<TProgressDialog>();
        window_->Create();
    }
    ~FlatProgress() { window_->CloseWindow(IDCANCEL); }
    void update() { window_->ProgressUpdate(); }
private:
    std::unique_ptr<TProgressDialog> window_;
};

enum Id { ID_ORIGINAL = 101, ID_MERGE_IMAGE = 102, ID_AVERAGE = 103, ID_ORIG_X = 104, ID_MERGE_X = 105,
          ID_ORIG_Y = 106, ID_MERGE_Y = 107, ID_CENTRE = 108, ID_HELP = 9 };
}

// ---- Shared chooser and the arithmetic commands ----

void apply_partner_image(char type)
{
    LongOperation busy;
    WaitCursor wait(*services().desktop);
    undo_save_option();
    if (type == 'a') {
        do_average_image(image_int, trial_int);
        image_prepare();
        return;
    }
    if (type == 's') {
        do_subtract_image(image_int, trial_int);
        history_append("Dark Frame Subtracted");
    } else {
        const double m = flat_level(trial_int);
        const int st = is_header_marked(image_int) ? 10 : 0;
        {
            FlatProgress window("FLAT FIELD PROGRESS", 10);
            for (int y = st + 1; y < height1; ++y) {
                window.update();
                do_flat_field(image_int, trial_int, m, y);
                ++progress;
            }
        }
        history_append("Flat Field Applied");
    }
    lastdir = services().paths->current_folder();
    image_prepare();
}

void Merge_Image()
{
    const std::optional<ChosenFile> chosen = choose_existing_file(FILTER_CHOOSE, "");
    if (!chosen)
        return;
    if (load_darkframe) {
        DarkFileName = chosen->path;
        return;
    }
    if (load_comparison) {
        ComparisonFileName = chosen->path;
        return;
    }
    if (load_flatfield) {
        FlatFileName = chosen->path;
        return;
    }
    if (delete_file) {
        confirm_and_delete(chosen->path);
        return;
    }
    if (LoadZRTempFile(chosen->path) != 0)
        return;
    apply_partner_image(merge_type);
}

void Subtract_Image()
{
    merge_type = 's';
    Merge_Image();
}

void Flat_Image()
{
    merge_type = 'f';
    Merge_Image();
}

void Average_Image()
{
    merge_type = 'a';
    Merge_Image();
}

// ---- Merge mode ----

TMergeDialog::TMergeDialog()
    : Dialog(RESOURCE, "MERGE IMAGES", 300, 210, {
          {ID_ORIGINAL, ControlKind::RadioButton, "Original  Image", 12, 34, 130, 20, 1},
          {ID_MERGE_IMAGE, ControlKind::RadioButton, "Merge Image", 12, 62, 130, 20, 1},
          {-1, ControlKind::Static, "x         y", 160, 12, 120, 16},
          {ID_ORIG_X, ControlKind::Edit, "", 150, 32, 60, 22},
          {ID_ORIG_Y, ControlKind::Edit, "", 220, 32, 60, 22},
          {ID_MERGE_X, ControlKind::Edit, "", 150, 60, 60, 22},
          {ID_MERGE_Y, ControlKind::Edit, "", 220, 60, 60, 22},
          {ID_AVERAGE, ControlKind::CheckBox, "Average", 12, 100, 120, 20},
          {ID_CENTRE, ControlKind::CheckBox, "Centre on Star", 150, 100, 140, 20},
          {IDOK, ControlKind::DefaultButton, "Merge", 12, 160, 80, 26},
          {IDCANCEL, ControlKind::Button, "Cancel", 108, 160, 80, 26},
          {ID_HELP, ControlKind::Button, "Help", 204, 160, 80, 26},
      })
{
    on_click(IDOK, [this] { MergeDo(); });
    on_click(IDCANCEL, [this] { MergeKill(); });
    on_click(ID_HELP, [this] { Dialog13Help(); });
    on_click(ID_AVERAGE, [this] { SetAverage(); });
    on_click(ID_CENTRE, [this] { SetCentre(); });
    // The radio buttons only show which position the next click sets.
    on_click(ID_ORIGINAL, [this] { EvPaint(); });
    on_click(ID_MERGE_IMAGE, [this] { EvPaint(); });
}

void TMergeDialog::SetupWindow()
{
    EvPaint();
}

void TMergeDialog::Paint(Painter&)
{
    EvPaint();
}

void TMergeDialog::EvPaint()
{
    SetText(ID_ORIG_X, std::to_string(orig_x));
    SetText(ID_ORIG_Y, std::to_string(orig_y));
    SetText(ID_MERGE_X, std::to_string(merge_x));
    SetText(ID_MERGE_Y, std::to_string(merge_y));
    SetCheck(ID_AVERAGE, average ? 1 : 0);
    SetCheck(ID_CENTRE, merge_centre ? 1 : 0);
    SetCheck(orig == 1 ? ID_ORIGINAL : ID_MERGE_IMAGE, 1);
}

void TMergeDialog::SetAverage()
{
    average = average ? 0 : 1;
    EvPaint();
}

void TMergeDialog::SetCentre()
{
    merge_centre = merge_centre ? 0 : 1;
    EvPaint();
}

void TMergeDialog::MergeDo()
{
    if (orig == 1)
        return;
    if (long_operation_running()) {
        services().desktop->beep();
        return;
    }
    if (merge_first_binned != binned) {
        messages(50, "Sorry, the two images to merge are of different sizes");
        return;
    }
    const int32_t x0 = orig_x, y0 = orig_y, x1 = merge_x, y1 = merge_y, avg = average;
    merging = 0;
    CloseWindow(IDOK);          // the window is gone after this: only program state below
    do_merge(image.fred3, merge_first_int, x0, y0, x1, y1, avg);
    average = 0;
    prep_image = 1;
    if (services().frame)
        PaintIt();
}

void TMergeDialog::MergeKill()
{
    CloseWindow(IDCANCEL);
}

void TMergeDialog::Destroyed()
{
    merging = 0;
    average = 0;
    TAD.release();
}

void TMergeDialog::Dialog13Help()
{
    services().boxes->show("Skyvane - Control Merging",
                           "Mark the position in the displayed image by pressing the left Mouse button. Then load the "
                           "image to be merged by using the File/Open Menu Option. Mark the position to be matched on, "
                           "and press the MERGE button.\n\nCheck the Average box if you want an average rather than "
                           "addition.");
}

void Add_Image()
{
    if (photometry || row_plot) {
        messages(37);
        return;
    }
    if (Geo || Big || Fit) {
        messages(43);
        return;
    }
    if (merging) {
        messages(44);
        return;
    }
    orig = 1;
    average = 0;
    orig_x = orig_y = merge_x = merge_y = 0;
    merge_first_binned = -1;
    merging = 1;
    TAD.open();
}

void merge_click(int x, int y)
{
    CentrePoint point{x, y};
    if (merge_centre)
        search_centre(x, y, image.fred3, cur_rad, point);
    if (orig == 1) {
        orig_x = point.x;
        orig_y = point.y;
    } else {
        merge_x = point.x;
        merge_y = point.y;
    }
    extfredptr = image.fred3;
    exttrialptr = trial.fred3;
    if (TAD)
        TAD->EvPaint();
}

void merge_partner_opening()
{
    if (!merging || orig != 1)
        return;
    std::copy(image_int, image_int + PLANE_SAMPLES, merge_first_int);
    merge_first_binned = binned;
}

void merge_partner_opened()
{
    if (!merging || merge_first_binned < 0)
        return;
    orig = 0;
    if (TAD)
        TAD->EvPaint();
}

const uint16_t* merge_first_image()
{
    return merge_first_int;
}

// ---- Comparison image ----

int load_comparison_file(uint16_t* plane)
{
    const std::string path = services().paths->native(ComparisonFileName);
    if (ComparisonFileName.empty() || !services().files->exists(path))
        return 11;
    const std::optional<Bytes> bytes = services().files->read(path);
    if (!bytes)
        return 11;
    const size_t length = bytes->size();
    const bool native = length == 218080 || length == 872320;
    const bool fits = length == 224640 || length == 878880;
    if (!native && !fits)
        return 12;
    if ((length < 872000 && !binned) || (length > 872000 && binned))
        return 12;
    const uint8_t* data = bytes->data();
    if (native) {
        std::memcpy(plane, data, static_cast<size_t>(height1) * width3);
        return 0;
    }
    auto card = [&](int n) { return std::string(reinterpret_cast<const char*>(data) + (n - 1) * 80, 80); };
    // Columns counted from 1.
    auto cols = [&](int n, int from, int to) { return card(n).substr(from - 1, to - from + 1); };
    if (cols(2, 29, 30) != "16" || cols(3, 30, 30) != "2")
        return 12;
    if (cols(4, 28, 30) != (binned ? "376" : "752") || cols(5, 28, 30) != (binned ? "290" : "580"))
        return 12;
    const int offset = card(36).substr(0, 29) == "BZERO   =   +0.0000000000E+00" ? 0 : 32768;
    const uint8_t* pixels = data + 72 * 80;
    for (int y = 0; y < height1; ++y)
        for (int x = 0; x < width1; ++x) {
            const uint8_t* p = pixels + y * width3 + 2 * x;
            plane[y * width1 + x] = static_cast<uint16_t>((p[0] * 256 + p[1] + offset) % 65536);
        }
    return 0;
}

void CmFileComparison()
{
    load_comparison = 1;
    Merge_Image();
    switch (load_comparison_file(comparison.fred3)) {
    case 11: messages(45); break;
    case 12: messages(46); break;
    default: comparison_loaded = 1; break;
    }
    load_comparison = 0;
}

void reset_merge_images()
{
    TAD.forget();
    merge_type = 's';
    load_darkframe = load_comparison = load_flatfield = 0;
    lastdir.clear();
    orig = 1;
    average = merge_centre = orig_x = orig_y = merge_x = merge_y = 0;
    extfredptr = exttrialptr = nullptr;
    merge_first_binned = -1;
}

void register_merge_images()
{
    register_command(110, Subtract_Image);
    register_command(115, Flat_Image);
    register_command(126, Average_Image);
    register_command(111, Add_Image, CommandKind::Free);
    register_command(124, CmFileComparison);
    mouse_modes.merge_click = merge_click;
    merge_image_opening = merge_partner_opening;
    merge_image_opened = merge_partner_opened;
}
