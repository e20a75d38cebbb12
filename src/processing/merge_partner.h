// What the shared chooser needs from the file and progress code: the partner reader, the
// chooser's filter entry, the folder of the last partner, the delete confirmation and the
// progress window of the flat field.
#pragma once
#include <string>

// Reads the file PATH into trial_int; 0 on success, otherwise not 0 after the reader's message.
int load_partner_image(const std::string& path);
// The filter entry the chooser shows first, and the update after the user chose PATH.
int chooser_filter_index();
void chooser_filter_chosen(const std::string& path);
// Records the folder of the partner just used.
void record_partner_folder();
// The delete confirmation of the file commands for PATH.
void confirm_delete_file(const std::string& path);

// The progress window of the flat field: opened with its caption and first position, stepped
// once per row, closed at the end.
class FlatProgress {
public:
    FlatProgress(const char* caption, int first);
    ~FlatProgress();
    FlatProgress(const FlatProgress&) = delete;
    FlatProgress& operator=(const FlatProgress&) = delete;
    void step();
    void close();
    int position() const { return progress_; }
private:
    int progress_;
    bool open_ = false;
};
