#include "printer.h"

#include <cstdlib>

std::string print_to_file()
{
    const char* path = std::getenv("SKYVANE_PRINT_TO");
    return path ? std::string(path) : std::string();
}
