#include "menu_table.h"

#include <map>

namespace {
MenuItem item(int id, const char* label, const char* shortcut = "") { return {id, label, shortcut}; }
MenuItem separator() { return {}; }
}

const std::vector<Menu>& menu_bar()
{
    static const std::vector<Menu> menus = {
        {"&File", {
            item(24332, "&Open...", "CTL+O"),
            item(24333, "&Save...", "CTL+S"),
            item(24334, "Save as &Tiff file..."),
            item(24335, "S&ave as FITS file..."),
            item(24336, "&Quick Save as FITS...", "Ctl+Q "),
            separator(),
            item(13, "&Delete File..."),
            item(19, "&Load/Edit AutoSave FITS text"),
            item(104, "Select Dark &Frame..."),
            item(122, "Select Auto-Flat File..."),
            item(124, "Load Comparison Image"),
            separator(),
            item(121, "Set Program Defa&ults"),
            item(12, "Qv Camera &Interface", "CTL+Z"),
            item(21, "Pic&k Guide Star", "CTL+P"),
            item(25, "Focus Frame Centre", "CTL+W"),
            item(26, "Default Focus Frame Centre"),
            separator(),
            item(22, "Train Auto-Guiding"),
            item(23, "Start Auto-Guiding"),
            item(24, "Telescope &Control"),
            separator(),
            item(114, "P&rint setup..."),
            item(116, "&Print..."),
            separator(),
            item(24310, "E&xit"),
        }},
        {"&Edit", {
            item(9, "&Undo Last Filter", "CTL+U"),
            item(24359, "&Copy", "Shift+Ins"),
        }},
        {"&View", {
            item(301, "&Fit to window"),
            item(303, "Resample to QV9 &Geometry"),
            item(123, "Enlarge by 50%"),
            item(118, "False Colour P&alette"),
            item(119, "&Auto contrast stretch image"),
            item(726, "Max Palette Stretch", "CTL+M"),
            item(302, "&Mirror Image"),
            separator(),
            item(14, "&Photometry of Image"),
            separator(),
            item(125, "Blink Comparison"),
            separator(),
            item(15, "3-D &Intensity Plot"),
            item(16, "Intensity Plot of Current R&ow"),
            separator(),
            item(17, "Processing &History"),
            item(20, "&Show/Edit Current Image FITS details"),
        }},
        {"&Label", {}, 8},
        {"&Contrast", {
            item(1, "&Normal Stretch", "CTL+N"),
            item(2, "&Power Law Stretch"),
            item(101, "&Sine Law Stretch"),
            item(120, "&Remove Background", "CTL+B "),
            item(117, "N&on-Linear Stretch"),
            item(102, "&Logarithmic Stretch"),
            item(103, "&Antilogarithmic Stretch"),
            item(105, "&Invert image to Negative"),
        }},
        {"Filter&s ", {
            item(106, "&Unsharp masking HPF"),
            item(107, "&High Pass, Low Power"),
            item(108, "High Pass, High &Power"),
            item(109, "&Smoother/Sharper Filter"),
            separator(),
            item(3, "&Median Filter - Noise Reduction"),
            item(4, "&Gaussian Smoother Filter"),
            item(5, "Low Pass &Weighted Mean &Smoother"),
            separator(),
            item(7, "&Bas Relief Generator"),
            item(18, "Gradient &Filter"),
            item(27, "&Vertical Smoothing"),
        }},
        {"&Merging", {
            item(110, "&Subtract Image (Dark Frame)"),
            item(115, "Apply &Flat Field"),
            separator(),
            item(111, "Merge two Images &together"),
            item(126, "Average &with current Image"),
        }},
        {"&Histogram", {}, 6},
        {"Help", {
            item(112, "Help in using SKYVANE"),
            item(113, "About SKYVANE"),
        }},
    };
    return menus;
}

const std::vector<ControlBarEntry>& control_bar()
{
    static const std::vector<ControlBarEntry> bar = {
        {24333, 24333}, {24336, 24335}, {24332, 24332}, {0, 0, 8},
        {1000, 12}, {0, 0, 6},
        {1002, 1901}, {1003, 1902}, {0, 0, 8},
        {121, 121}, {0, 0, 6},
        {1903, 14}, {0, 0, 6},
        {1, 1}, {117, 117}, {2, 2}, {120, 120}, {106, 106}, {3, 3}, {0, 0, 6},
        {110, 110}, {115, 115}, {111, 111},
    };
    return bar;
}

std::string command_hint(int id)
{
    static const std::map<int, std::string> hints = {
        {1, "Adjust the Contrast manually. setting max and min values"},
        {2, "Power Law contrast stretch"},
        {3, "Median Filter - use to reduce electronic noise in image"},
        {12, "Main Camera Control"},
        {14, "Photometry of image - caution, use with unstretched images "},
        {24, "Control a LX200 telescope or Autoguider port"},
        {104, "Select a file to be used as a dark frame for automatic processing"},
        {106, "Apply an unsharp mask - good for enhancing planetary detail"},
        {110, "Subtract a dark frame from currently displayed image"},
        {111, "Merge current image with one already saved"},
        {115, "Apply a flatfield to the currently displayed image"},
        {117, "Apply a non-linear stretch - good for nebulae"},
        {120, "Automatically make background black"},
        {121, "View and change most program variables"},
        {122, "Select a Flatfield frame to be used for automatic processing"},
        {1901, "Use Max Palette Stretch on all Images"},
        {1902, "Only use Max Palette Stretch on Focus Images"},
        {24332, "Get an image from Disk"},
        {24333, "Save Image in Raw data format"},
        {24335, "Save Image as a FITs file"},
    };
    auto it = hints.find(id);
    return it == hints.end() ? std::string() : it->second;
}

const std::vector<Accelerator>& accelerators()
{
    static const std::vector<Accelerator> keys = {
        {'O', true, false, 24332}, {'S', true, false, 24333}, {'Q', true, false, 24336},
        {'Z', true, false, 12}, {'P', true, false, 21}, {'W', true, false, 25},
        {'U', true, false, 9}, {'N', true, false, 1}, {'B', true, false, 120},
        {'M', true, false, 726}, {'H', true, false, 6}, {'L', true, false, 8},
        {'X', false, true, 24310},
    };
    return keys;
}
