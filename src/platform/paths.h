// The program's Windows-style names ("c:\autosave\Skyvane.INI") on this machine: the drive letter
// becomes a folder under the data root, backslashes become slashes, and components that already
// exist are matched case-insensitively, as on the system the names come from.
#pragma once
#include <string>

class FileSystem;

class Paths {
public:
    Paths(std::string root, FileSystem& fs) : root_(std::move(root)), fs_(fs) {}
    // A native path for NAME. Native absolute paths pass through unchanged.
    std::string native(const std::string& name) const;
    const std::string& root() const { return root_; }
    // The folder relative names are resolved against (the last folder chosen in a file dialog).
    void set_current_folder(const std::string& native_folder) { current_ = native_folder; }
    const std::string& current_folder() const { return current_; }

    // The default root: $SKYVANE_ROOT, else ${XDG_DATA_HOME:-$HOME/.local/share}/skyvane.
    static std::string default_root();

private:
    std::string match_case(const std::string& folder, const std::string& component) const;

    std::string root_;
    std::string current_;
    FileSystem& fs_;
};
