#include "merge_partner.h"

#include "app/core/messages.h"

// NOT CONNECTED YET: the partner reader (LoadZRTempFile), the chooser's Filter_Index rule,
// lastdir and the delete confirmation belong to the file commands, and the progress window to
// the filters; these are joined here once they are part of the program. Until then a partner
// image cannot be read, and the commands say so.

int load_partner_image(const std::string&)
{
    messages(50, "Sorry, reading a second image is not available in this build");
    return 1;
}

int chooser_filter_index() { return 1; }
void chooser_filter_chosen(const std::string&) {}
void record_partner_folder() {}
void confirm_delete_file(const std::string&) {}

FlatProgress::FlatProgress(const char*, int first) : progress_(first), open_(true) {}
FlatProgress::~FlatProgress() { close(); }
void FlatProgress::step() { ++progress_; }
void FlatProgress::close() { open_ = false; }
