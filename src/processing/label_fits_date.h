// The FITS date and time of the current image as the label uses them.
#pragma once
#include <string>

std::string fits_date_text();
std::string fits_time_text();
