#include "file_choice.h"

#include <cctype>

#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/services.h"

int Filter_Index = 3;

std::string lower_case(std::string text)
{
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string name_without_folder(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int filter_index_after(const std::string& default_extension, const std::string& name)
{
    if (lower_case(default_extension) == "fit")
        return 2;
    return name.find('~') != std::string::npos ? 1 : 3;
}

namespace {
std::optional<ChosenFile> run_dialog(bool save, const std::string& filter, const std::string& initial_name,
                                     const std::string& default_extension)
{
    FileDialogRequest request;
    request.save = save;
    request.filter = filter;
    request.filter_index = Filter_Index;
    request.initial_name = initial_name;
    request.title = save ? "Save As" : "Open";
    auto path = services().file_dialogs->choose(request);
    if (!path || path->empty())
        return std::nullopt;
    ChosenFile chosen;
    chosen.path = *path;
    chosen.name = name_without_folder(*path);
    const auto slash = path->find_last_of('/');
    chosen.folder = slash == std::string::npos ? services().paths->current_folder()
                                               : (slash == 0 ? std::string("/") : path->substr(0, slash));
    if (save && !default_extension.empty() && chosen.name.find('.') == std::string::npos)
        chosen.name += "." + default_extension;
    chosen.lower = lower_case(chosen.name);
    Filter_Index = filter_index_after(default_extension, chosen.name);
    if (!chosen.folder.empty())
        services().paths->set_current_folder(chosen.folder);
    return chosen;
}
}

std::optional<ChosenFile> choose_existing_file(const std::string& filter, const std::string& initial_name)
{
    return run_dialog(false, filter, initial_name, "");
}

std::optional<ChosenFile> choose_file_to_save(const std::string& filter, const std::string& initial_name,
                                              const std::string& default_extension)
{
    for (;;) {
        auto chosen = run_dialog(true, filter, initial_name, default_extension);
        if (!chosen)
            return std::nullopt;
        if (!services().files->exists(chosen->lower_path()))
            return chosen;
        const BoxAnswer answer = services().boxes->show(
            "Save As", chosen->lower + " already exists.\nDo you want to replace it?", BoxButtons::YesNo, BoxIcon::Warning);
        if (answer == BoxAnswer::Yes)
            return chosen;
    }
}
