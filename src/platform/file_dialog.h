// File open and save dialogs with the program's filter strings ("Name|*.ext|Name2|*.x|").
#pragma once
#include <optional>
#include <string>

struct FileDialogRequest {
    bool save = false;
    std::string filter;       // pairs of description and pattern list, separated by '|'
    int filter_index = 1;     // 1-based index of the filter shown first
    std::string initial_name; // program path or plain name
    std::string title;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file as a native path, or nothing when the user cancelled.
    virtual std::optional<std::string> choose(const FileDialogRequest& request) = 0;
};
