// The progress window: a bar from 0 to 256 under a caption the running operation chooses. The
// stretches and filters open it here; the exposure sequencer and merging reuse it.
#pragma once
#include <string>

#include "platform/dialog.h"

extern int progress;                    // bar position, 0 to 256
extern std::string progress_caption;    // caption of the window (at most 29 characters)
extern int changecaption;               // the next update also sets the caption

constexpr int PROGRESS_CAPTION_MAX = 29;

// Sets progress_caption, cut to its 29 characters.
void set_progress_caption(const std::string& caption);

class TProgressDialog : public Dialog {
public:
    static constexpr int RESOURCE = 6;
    static constexpr int BAR = 101;
    static constexpr int BAR_MAX = 256;

    TProgressDialog();
    ~TProgressDialog() override;
    void SetupWindow() override;
    // Moves the bar to `progress` (clamped to 0..256) and, when changecaption is set, takes the
    // new caption and clears the flag.
    void ProgressUpdate();
};

// Restores the window's variables to their start-up values.
void reset_progress_state();
