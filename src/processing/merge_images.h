// Whole-image commands with a second image: dark subtraction, flat fielding and averaging with a
// chosen file, the interactive merge of two images aligned on a star, and the comparison image.
#pragma once
#include <cstdint>
#include <string>

#include "modeless_window.h"
#include "platform/dialog.h"

// What the shared chooser does with the chosen file: 's' subtract, 'a' average, 'f' flat field.
extern char merge_type;
// Request flags of the shared chooser: it then only records the chosen path. (With the file
// commands' delete_file set it hands the path on to their delete confirmation.)
extern int load_darkframe, load_comparison, load_flatfield;
extern std::string lastdir;     // folder of the last partner image used

// Merge state.
extern int32_t orig, average, merge_centre, orig_x, orig_y, merge_x, merge_y;
extern uint16_t* extfredptr;
extern uint16_t* exttrialptr;

class TMergeDialog : public Dialog {
public:
    static constexpr int RESOURCE = 13;
    TMergeDialog();
    void SetupWindow() override;
    void Paint(Painter&) override;
    void Destroyed() override;
    void EvPaint();
private:
    void MergeKill();
    void MergeDo();
    void SetAverage();
    void SetCentre();
    void Dialog13Help();
};

extern ModelessWindow<TMergeDialog> TAD;

// The shared file chooser and its action on the current image.
void Merge_Image();
// Steps after a partner image is in trial_int: the undo copy, the arithmetic of merge_type, the
// history line and the refresh.
void apply_partner_image(char type);

void Subtract_Image();
void Flat_Image();
void Average_Image();
void Add_Image();
void merge_click(int x, int y);

// File Open in merge mode. Before the new file is read: the first image is kept in the merge's
// own plane (only while the first position is being marked). After it was read successfully:
// the next clicks mark the matching position.
void merge_partner_opening();
void merge_partner_opened();
// The first image of the merge as it was kept.
const uint16_t* merge_first_image();

// Reads the comparison file ComparisonFileName into PLANE: 0, 11 (cannot be opened) or 12 (not
// an acceptable file, or short).
int load_comparison_file(uint16_t* plane);
void CmFileComparison();

void reset_merge_images();
void register_merge_images();
