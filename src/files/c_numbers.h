// Numbers in the files and dialogs are written and read in the C locale, whatever locale the
// toolkit installed for the user (a decimal comma would break every FITS card).
#pragma once
#include <optional>
#include <string>

// printf-style formatting of one double ("%11.10E", "%f") in the C locale.
std::string c_format_double(const char* format, double value);
// "%lf" as sscanf reads it: leading blanks, then the longest number prefix. Nothing when the
// text does not start with a number.
std::optional<double> c_parse_double(const std::string& text);
// A signed integer as an edit field reads it: blanks around an optional sign and digits;
// anything else (or a value beyond int) reads as 0.
int read_signed_field(const std::string& text);
