// Where the program's own files are: the help pages beside the build or install folder.
#pragma once
#include <string>

// The help folder: DIR when given, else $SKYVANE_HELP_DIR, else doc/help next to the folder of
// the running program (build/skyvane finds the source tree's doc/help), else the source tree's.
std::string help_folder(const std::string& dir);
