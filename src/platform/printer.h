// Printing the display bitmap. With the environment variable SKYVANE_PRINT_TO=FILE.pdf the
// printed page goes into that PDF file instead of a printer (how tests look at it).
#pragma once
#include <string>

class Printer {
public:
    virtual ~Printer() = default;
    // The printer settings dialog (printer, paper, orientation); kept for the next print.
    virtual void setup() = 0;
    // Starts printing the BMP file at the native PATH on the chosen printer and returns without
    // waiting for the printout. False when printing could not be started (not reported).
    virtual bool print_bitmap_file(const std::string& native_path) = 0;
};

// The PDF that SKYVANE_PRINT_TO names, or an empty text.
std::string print_to_file();
