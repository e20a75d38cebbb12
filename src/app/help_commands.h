// Help > Help in using SKYVANE and Help > About SKYVANE.
#pragma once
#include <string>

extern std::string help_index_file;   // the help pages' contents page, set by main()

void Help_Using();
void Help_About();
