#include "progress_dialog.h"

#include <algorithm>

int progress = 0;
std::string progress_caption;
int changecaption = 0;

void set_progress_caption(const std::string& caption)
{
    progress_caption = caption.substr(0, PROGRESS_CAPTION_MAX);
}

void reset_progress_state()
{
    progress = 0;
    progress_caption.clear();
    changecaption = 0;
}

// The template caption "Filter Progress" is always replaced by progress_caption; the window is
// built with it already so that it never shows the template's text.
TProgressDialog::TProgressDialog()
    : Dialog(RESOURCE, progress_caption, 300, 80, {
          {-1, ControlKind::Static, "0%", 10, 24, 24, 16},
          {BAR, ControlKind::HScroll, "", 38, 22, 222, 18},
          {-1, ControlKind::Static, "100%", 264, 24, 34, 16},
      })
{
}

TProgressDialog::~TProgressDialog() = default;

void TProgressDialog::SetupWindow()
{
    SetScrollRange(BAR, 0, BAR_MAX, 1);
    SetScrollPos(BAR, 0);
    SetCaption(progress_caption);
}

void TProgressDialog::ProgressUpdate()
{
    SetScrollPos(BAR, std::clamp(progress, 0, BAR_MAX));
    if (changecaption) {
        SetCaption(progress_caption);
        changecaption = 0;
    }
}
