// The file dialogs of the File commands: their filter strings, the remembered filter entry
// (`Filter_Index`), the chosen file's name without folder in lower case, and the overwrite
// question for the name that will really be created.
#pragma once
#include <optional>
#include <string>

extern int Filter_Index;   // 1 "Halvoran (~*.)", 2 FITS, 3 all files

constexpr const char* FILTER_OPEN = "Halvoran (~*.)|~*.*|FITS files|*.FIT|All Files|*.*|";
constexpr const char* FILTER_SAVE_QV = "Halvoran (~*.)|~*.*|FITs files|*.FIT|All Files(*.*)|*.*|";
constexpr const char* FILTER_SAVE_TIF = "Tiff file (*.TIF)|*.TIF|All Files(*.*)|*.*|";
constexpr const char* FILTER_SAVE_FITS = "FITS file (*.FIT)|*.FIT|All Files(*.*)|*.*|";
constexpr const char* FILTER_CHOOSE = "Halvoran (~*.)|~*.*|FITS files|*.FIT|All Files(*.*)|*.*|";

struct ChosenFile {
    std::string path;      // native path of the file as the dialog returned it
    std::string folder;    // its folder (native)
    std::string name;      // the name without folder, as chosen
    std::string lower;     // that name in small letters
    std::string lower_path() const { return folder + "/" + lower; }
};

// The filter entry a dialog remembers after the user confirmed NAME (without folder).
int filter_index_after(const std::string& default_extension, const std::string& name);
std::string lower_case(std::string text);
std::string name_without_folder(const std::string& path);

// An open dialog (the file must exist) starting on Filter_Index with INITIAL_NAME. Updates
// Filter_Index and makes the chosen folder the current one; nothing on cancel.
std::optional<ChosenFile> choose_existing_file(const std::string& filter, const std::string& initial_name);
// A save dialog. The file created is the lower-case name in the chosen folder; when that file
// exists the user is asked whether to replace it, and "No" opens the dialog again. A name
// without an extension gets DEFAULT_EXTENSION (when one is given).
std::optional<ChosenFile> choose_file_to_save(const std::string& filter, const std::string& initial_name,
                                              const std::string& default_extension);
