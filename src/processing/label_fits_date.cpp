#include "label_fits_date.h"

// NOT CONNECTED YET: the FITS details (FITS_Date, FITS_Time) are not part of the program yet.
// Until they are, the current image has no FITS date, which is what these report.
std::string fits_date_text() { return {}; }
std::string fits_time_text() { return {}; }
