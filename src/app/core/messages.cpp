#include "messages.h"

#include <array>

#include "platform/services.h"

namespace {
const char* const INI_LOAD = "Unable to load INI file, please delete and try again";
const char* const INI_SAVE = "Unable to save INI file, please check disk space";
const char* const CREATE_FILE = "Unable to create file, check disk space";
const char* const NOT_CONVERTED = "Image not Colour Converted";
const char* const FITS_FOREIGN = "Unable to load FITS file, File was not saved by this program";
const char* const CREATE_QV = "Unable to create/overwrite QV File";
const char* const MERGE_GEOMETRY = "Sorry, Merging only available in standard Geometry. Ensure Image is not stretched to fit window or in QV geometry.";
const char* const MERGE_ALREADY = "Sorry, you are already in Merging mode.";

const std::array<const char*, 56> CATALOGUE = {
    "",
    "Warning!\nNo INI file found, please set defaults...",
    "QV Interface not found.\n\nPort set to default.\n\nIf you have a QV Camera make sure all the cables are plugged in and it is switched on. ",
    "Failed to Open Darkframe QV File",
    "Sorry, chosen Darkframe is not an QV File",
    "Failed to Open Flatfield QV File",
    "Sorry, chosen Flatfield is not a QV File",
    NOT_CONVERTED,
    "Failed to create temp bitmap",
    "Unable to create temp bitmap file header",
    "Unable to create temp bitmap file",
    "Failed to Open QV File",
    "Sorry, you didn't choose a valid QV File",
    "Unable to load FITS file",
    FITS_FOREIGN,
    FITS_FOREIGN,
    "Sorry, you didn't choose an QV File",
    "Failed to Save QV File",
    CREATE_QV,
    CREATE_QV,
    INI_LOAD,
    INI_SAVE,
    CREATE_FILE,
    INI_LOAD,
    INI_SAVE,
    NOT_CONVERTED,
    "Unable to contact camera, please check cables",
    INI_LOAD,
    INI_SAVE,
    CREATE_FILE,
    MERGE_GEOMETRY,
    MERGE_ALREADY,
    "Cannot open bitmap file",
    "Sorry. Guide star lost.\n\nStar may have moved more than 10 pixels, or has different intensity to previous reading (+/-5%)",
    "Sorry. Cannot find suitable guide star\n\nStar must be at least +/-5% of next brightest.",
    "Sorry, Can Only Select Star in Standard or 150% Display Options.",
    "Sorry. No Connection to Telescope",
    "Sorry, you cannot run Photometry, Row Plot and Merging at the same time",
    "Sorry, Photometry only available in standard Geometry. Ensure Image is not stretched to fit window or in QV geometry.",
    "Sorry, you are already in Photometry mode. Click left Mouse button when on object you wish to measure",
    "Sorry, outside Image area - try again",
    "You didn't choose an QV or a suitable FITS File",
    "Unable to load INI file, defaults set",
    MERGE_GEOMETRY,
    MERGE_ALREADY,
    "Failed to Open QV or suitable FITs File",
    "Sorry, chosen Comparison file is not an QV or FITs File",
    "Sorry, Rowplot is only available in Standard Geometry",
    "Sorry, Row Plot only available in standard Geometry. Ensure Image is not stretched to fit window",
    CREATE_FILE,
    "",   // 50: the caller's text
    "Guiding Terminated",
    "Sorry! Mk 2 Controlbox not present. Self-guiding not available",
    "You must first take an image and pick a star",
    "Communication with telescope failed",
    "",
};
}

std::string message_text(int n, const std::string& text)
{
    if (n == 50)
        return text.substr(0, 498);
    if (n < 1 || n > 55)
        return {};
    return CATALOGUE[static_cast<size_t>(n)];
}

BoxAnswer messages(int n, const std::string& text)
{
    return services().boxes->show(APP_NAME, message_text(n, text), BoxButtons::Ok, BoxIcon::None);
}
