// Skyvane: picks the backend from the command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "headless/run_headless.h"
#include "platform/launch_options.h"
#ifdef SKYVANE_WITH_QT
#include "qt/run_qt.h"
#endif

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(launch_usage(), stdout);
            return 0;
        }
    LaunchOptions options;
    std::string error;
    if (!parse_launch_options(argc, argv, options, error)) {
        std::fprintf(stderr, "skyvane: %s\n%s", error.c_str(), launch_usage());
        return 2;
    }
    if (options.headless) {
        if (options.script.empty()) {
            std::fprintf(stderr, "skyvane: --headless needs --script FILE\n");
            return 2;
        }
        return run_headless(options);
    }
#ifdef SKYVANE_WITH_QT
    return run_qt(argc, argv, options);
#else
    std::fprintf(stderr, "skyvane: built without the Qt window; use --headless --script FILE\n");
    return 2;
#endif
}
