#include "install_paths.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool is_dir(const std::string& p)
{
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}

std::string help_folder(const std::string& dir)
{
    if (!dir.empty())
        return dir;
    if (const char* env = std::getenv("SKYVANE_HELP_DIR"); env && *env)
        return env;
    char exe[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string folder = n > 0 ? std::string(exe, static_cast<size_t>(n)) : std::string("./skyvane");
    folder = folder.substr(0, folder.find_last_of('/'));
    for (const char* candidate : {"/../doc/help", "/../share/skyvane/help", "/doc/help"})
        if (is_dir(folder + candidate))
            return folder + candidate;
#ifdef SKYVANE_SOURCE_DIR
    if (is_dir(SKYVANE_SOURCE_DIR "/doc/help"))
        return SKYVANE_SOURCE_DIR "/doc/help";
#endif
    return folder + "/../doc/help";
}
