#include "autosave.h"

#include <cstdio>

#include "app/core/messages.h"
#include "fits_file.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "settings_file.h"
#include "settings_values.h"
#include "store/planes.h"

std::time_t start_exp = 0;
std::time_t end_exp = 0;
const char* const auto_save_name = "IMG";

namespace {
constexpr unsigned LAST_NUMBER = 65530;

unsigned next_number(unsigned number) { return number < LAST_NUMBER ? number + 1 : 1; }
}

void reset_autosave_state()
{
    start_exp = 0;
    end_exp = 0;
}

std::time_t calendar_now()
{
    std::tm local = services().clock->local_time();
    // The wall-clock fields read as if they were UT, then shifted by the user's offset.
    return timegm(&local) + static_cast<std::time_t>(FITS_Diff) * 3600;
}

void stamp_mid_exposure()
{
    std::time_t mid;
    if (start_exp != 0 && end_exp >= start_exp)
        mid = start_exp + (end_exp - start_exp) / 2;
    else
        mid = end_exp != 0 ? end_exp : calendar_now();   // no exposure timed: the moment of saving
    std::tm ut {};
    gmtime_r(&mid, &ut);
    char date[32], time[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", ut.tm_year + 1900, ut.tm_mon + 1, ut.tm_mday);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", ut.tm_hour, ut.tm_min, ut.tm_sec);
    FITS_Date = date;
    FITS_Time = time;
}

std::string auto_save_file(unsigned number)
{
    return auto_save_dir + "\\" + auto_save_name + std::to_string(number) + ".FIT";
}

int auto_save(const uint16_t* fredptr)
{
    set_time_zone_rule();
    stamp_mid_exposure();
    // Never overwrite an autosaved frame: after the wrap, or with a lost settings file, the
    // number moves on to the next free one.
    FileSystem& fs = *services().files;
    unsigned number = next_number(static_cast<unsigned>(auto_save_num));
    for (unsigned tries = 0; tries < LAST_NUMBER && fs.exists(services().paths->native(auto_save_file(number))); ++tries)
        number = next_number(number);
    auto_save_num = static_cast<int>(number);
    const int written = SaveFITSFile(auto_save_file(number), fredptr, FITS_Obj, FITS_Obs, FITS_Date, FITS_Tel,
                                     FITS_Ins, FITS_Com, FITS_His, 0);
    if (written != 0)
        return written;
    return SaveINIFile(INI_FILE);
}

void CmSaveAsFits()
{
    if (auto_save(image.fred3) == 1)
        messages(49);
}
