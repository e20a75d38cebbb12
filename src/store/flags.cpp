#include "flags.h"

#define SKYVANE_DEFINE_FLAG(name, value) int name = value;
SKYVANE_STORE_INT_FLAGS(SKYVANE_DEFINE_FLAG)
#undef SKYVANE_DEFINE_FLAG

int64_t ticks = 0;
int64_t endticks = 0;

std::string DarkFileName;
std::string FlatFileName;
std::string ComparisonFileName;
std::string image_name;

void reset_store_flags()
{
#define SKYVANE_RESET_FLAG(name, value) name = value;
    SKYVANE_STORE_INT_FLAGS(SKYVANE_RESET_FLAG)
#undef SKYVANE_RESET_FLAG
    ticks = 0;
    endticks = 0;
    DarkFileName.clear();
    FlatFileName.clear();
    ComparisonFileName.clear();
    image_name.clear();
}
