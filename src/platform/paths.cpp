#include "paths.h"

#include <cctype>
#include <cstdlib>

#include "file_system.h"

namespace {
std::string lower(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool is_drive_path(const std::string& name)
{
    return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}
}

std::string Paths::default_root()
{
    if (const char* root = std::getenv("SKYVANE_ROOT"); root && *root)
        return root;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/skyvane";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.local/share/skyvane";
}

std::string Paths::match_case(const std::string& folder, const std::string& component) const
{
    if (fs_.exists(folder + "/" + component))
        return component;
    const std::string wanted = lower(component);
    for (const auto& entry : fs_.list(folder))
        if (lower(entry) == wanted)
            return entry;
    return component;
}

std::string Paths::native(const std::string& name) const
{
    if (!name.empty() && name[0] == '/')
        return name;
    std::string folder;
    std::string rest;
    if (is_drive_path(name)) {
        folder = root_;
        const std::string drive(1, static_cast<char>(std::tolower(static_cast<unsigned char>(name[0]))));
        folder = folder + "/" + match_case(folder, drive);
        rest = name.substr(2);
    } else {
        folder = current_.empty() ? root_ : current_;
        rest = name;
    }
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = rest.size();
        const std::string component = rest.substr(start, end - start);
        if (!component.empty() && component != ".")
            folder = folder + "/" + match_case(folder, component);
        start = end + 1;
    }
    return folder;
}
